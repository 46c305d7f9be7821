#pragma once
// Writes a show container: the stored entries one after another, then the
// raw-deflated index and the trailer. Appended to a copy of the player it makes a
// show executable; written on its own (no program image) it makes a data file.
// Entries are encoded piece by piece, so a large file never sits in memory whole.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/stream.h"
#include "container/container_format.h"
#include "ini/ini_file.h"

namespace kiv {

struct TKivPackFinish {
  std::u16string Version;     // "kivversion" of the index
  bool AllowModify = false;   // whether a moved block may still be read
  bool ShortTrailer = false;  // ".dne" at the very end, without the recorded end
};

class TKivPack {
 public:
  // Appends after a program image: output stands at the image's end, and the image
  // becomes the first index section, named programName.
  TKivPack(TStream& output, std::u16string_view programName);
  // A stand-alone data file: the container starts where output stands, with no
  // program section.
  explicit TKivPack(TStream& output);
  TKivPack(const TKivPack&) = delete;
  TKivPack& operator=(const TKivPack&) = delete;

  // Each adds one entry under name. Names are unique ignoring case, and "[" / "]"
  // count as "<" / ">"; a taken, empty or reserved name or one holding a line break
  // fails with EKivError.
  void AddBytes(std::u16string_view name, std::span<const uint8_t> bytes, TPackMode mode);
  // Everything from the source's current position until a read returns 0.
  void AddStream(std::u16string_view name, TStream& source, TPackMode mode);
  void AddFile(std::u16string_view name, const std::string& utf8Path, TPackMode mode);
  // A second name for the data of an entry already added, so one file is stored once.
  void AddAlias(std::u16string_view name, std::u16string_view existingName);

  // Whether the name is taken (ignoring case, brackets as angle brackets).
  bool HasEntry(std::u16string_view name) const;

  // Adds "ExeGUID" and "$protection$", writes the index and the trailer. Nothing can
  // be added afterwards.
  void Finish(const TKivPackFinish& finish);

  // Entries added so far (aliases and the program section not counted) and the bytes
  // they take in the output.
  int EntryCount() const { return FEntryCount; }
  int64_t StoredBytes() const { return FStoredBytes; }

 private:
  void CheckNewName(std::u16string_view name) const;
  // Encodes the pieces that next hands out (0 ends) as a new entry.
  template <typename NextPiece>
  void AddEntry(std::u16string_view name, TPackMode mode, NextPiece next);
  void RecordEntry(std::u16string_view name, int64_t position, int64_t size, TPackMode mode);

  TStream& FOutput;
  TIniFile FIndex;
  int FEntryCount = 0;
  int64_t FStoredBytes = 0;
  bool FFinished = false;
};

}  // namespace kiv
