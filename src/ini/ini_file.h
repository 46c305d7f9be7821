#pragma once
// A document loaded from and saved to a stream or a file.
#include <functional>
#include <string>

#include "base/stream.h"
#include "ini/ini_parser.h"
#include "ini/ini_storage.h"

namespace kiv {

class TIniFile;

// Receives the file, the error, the 1-based position of the line's first non-blank and
// the 0-based line number.
using TIniFileErrorHook = std::function<void(TIniFile& file, TIniParseError error, int linePos, int lineNo)>;

class TIniFile : public TIniStorage {
 public:
  // Clears the document and reads the stream from its current position in whatever
  // encoding its mark tells. True when the text was read to the end, also when it holds
  // unplaceable lines. Stream and decoding failures propagate, leaving the lines read so
  // far and Loaded() false.
  bool LoadFromStream(TStream& stream);
  // Writes every stored line as UTF-8 with a mark, each with CR LF; false when anything fails.
  bool SaveToStream(TStream& stream) const;
  // The same for a file (UTF-8 path); every failure, opening included, answers false.
  bool LoadFromFile(const std::string& utf8Path);
  bool SaveToFile(const std::string& utf8Path) const;

  // The result of the last load.
  bool Loaded() const { return FLoaded; }

  void SetErrorHook(TIniFileErrorHook hook) { FErrorHook = std::move(hook); }
  void SetKeywordHook(TIniKeywordHook hook) { FKeywordHook = std::move(hook); }

 private:
  bool FLoaded = false;
  TIniFileErrorHook FErrorHook;
  TIniKeywordHook FKeywordHook;
};

}  // namespace kiv
