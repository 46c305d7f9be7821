#pragma once
// One open show container: finds the trailer at the end of a file, reads the index,
// checks that the block has not moved (or relocates it when moving is allowed), and
// opens entries by the names the project uses.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/file_stream.h"
#include "container/container_format.h"
#include "container/partial_stream.h"
#include "ini/ini_file.h"

namespace kiv {

// The most a deflated entry of that name may inflate to, by its kind: a picture its
// pixels within the picture memory budget, a text 256 MiB, anything else (sounds,
// videos, fonts) the budget, never more than 2 GiB.
int64_t EntryInflateLimit(std::u16string_view name);

class TKivUnpack {
 public:
  struct TEntry {
    int64_t Position = 0;  // relocation applied
    int64_t Size = 0;
    TPackMode Mode = TPackMode::Stored;
  };

  // Never raises: a file that is no container is not usable, with Error() telling why
  // ("" when there simply is no trailer).
  explicit TKivUnpack(std::string path);

  bool Usable() const { return FStream != nullptr; }
  const std::u16string& Error() const { return FError; }
  const std::u16string& Version() const { return FVersion; }
  const std::string& FileName() const { return FFileName; }
  int64_t Shift() const { return FShift; }
  int64_t Relocation() const { return FRelocation; }
  const TIniFile& Index() const { return FIndex; }

  // Names of all stored entries (index sections other than the protection record), in
  // index order.
  std::vector<std::u16string> EntryNames() const;
  // The entry's place in the file; none when it is missing or does not lie inside it.
  // Names match ignoring case and whether folders are separated by "\" or "/".
  std::optional<TEntry> FindEntry(std::u16string_view name) const;
  // A new stream of the entry on a handle of its own (so entries read in parallel),
  // deciphered or inflated as stored; nullptr when the entry is missing or unreadable.
  std::unique_ptr<TStream> OpenEntry(std::u16string_view name) const;
  // Whether an entry is held under exactly this name, case counting.
  bool HasExactEntry(std::u16string_view name) const;

 private:
  void Open();
  bool ReadIndex(int64_t indexPosition, int64_t indexEnd);
  bool CheckPosition(int64_t indexPosition);
  // The index section of name, written with either folder separator.
  const TIniSection* EntrySection(std::u16string_view name) const;

  std::unique_ptr<TFileStream> FStream;
  int64_t FFileSize = 0;
  int64_t FIndexEnd = 0;
  int64_t FShift = 0;
  int64_t FRelocation = 0;
  TIniFile FIndex;
  std::string FFileName;
  std::u16string FVersion;
  std::u16string FError;
};

}  // namespace kiv
