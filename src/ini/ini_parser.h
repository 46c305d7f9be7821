#pragma once
// The INI line classifier: turns the lines of a text into the items of a document —
// blank lines, comments, section heads, name=value idents, nested objects opened by
// "object" (or by a keyword the keyword hook accepts) and closed by "end". Lines it
// cannot place are reported to the error hook and kept as text lines, so that saving
// writes them back unchanged.
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "ini/ini_storage.h"
#include "ini/text_parser.h"

namespace kiv {

enum class TIniParseError {
  EndWithoutObject = 0,   // "end" without an open object in the current collection
  ObjectsLeftOpen = 1,    // objects still open at the end of the text
  UnrecognisedLine = 2,   // neither blank, comment, section head, ident, "object" nor "end"
};

// Receives the error, the 1-based position of the line's first non-blank and the 0-based line number.
using TIniParseErrorHook = std::function<void(TIniParseError error, int linePos, int lineNo)>;
// Answers whether a word that is not "object" or "end" opens an extra object.
using TIniKeywordHook = std::function<bool(std::u16string_view keyword)>;

class TIniParser : public TTextParser {
 public:
  // Fills document, which should be empty; the document outlives the parser.
  TIniParser(std::unique_ptr<TTextReader> reader, TIniStorage& document);

  void SetErrorHook(TIniParseErrorHook hook) { FErrorHook = std::move(hook); }
  void SetKeywordHook(TIniKeywordHook hook) { FKeywordHook = std::move(hook); }

  // Classifies every line in order, then reports objects left open.
  void Parse();

 private:
  void ClassifyLine();
  void AddSectionHead(size_t bracket);
  void AddIdent(size_t nameStart);
  void HandleKeyword(size_t wordStart, size_t wordEnd);
  void OpenObject(size_t wordStart, size_t wordEnd, bool extra);
  void CloseObject();
  void KeepUnplacedLine(TIniParseError error);
  void Report(TIniParseError error);

  TIniStorage& FDocument;
  TIniIdentList* FCurrent;              // the document, a section or an object
  std::vector<TIniIdentList*> FOpened;  // collections to return to when objects close
  TIniParseErrorHook FErrorHook;
  TIniKeywordHook FKeywordHook;
};

}  // namespace kiv
