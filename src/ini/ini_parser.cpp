#include "ini/ini_parser.h"

namespace kiv {

namespace {

size_t SkipBlanks(std::u16string_view line, size_t i) {
  while (i < line.size() && IsIniBlank(line[i])) ++i;
  return i;
}

// End of the span [start, end) without its trailing blanks.
size_t TrimBlanksBefore(std::u16string_view line, size_t start, size_t end) {
  while (end > start && IsIniBlank(line[end - 1])) --end;
  return end;
}

}  // namespace

TIniParser::TIniParser(std::unique_ptr<TTextReader> reader, TIniStorage& document)
    : TTextParser(std::move(reader)), FDocument(document), FCurrent(&document) {}

void TIniParser::Parse() {
  while (ReadLine()) ClassifyLine();
  if (!FOpened.empty()) Report(TIniParseError::ObjectsLeftOpen);
}

void TIniParser::ClassifyLine() {
  const std::u16string& line = Line();
  const size_t first = SkipBlanks(line, 0);
  FLinePos = int(first) + 1;
  if (first == line.size()) {
    FCurrent->AddItem(new TIniEmptyLine);
    return;
  }
  switch (line[first]) {
    case u';':
      FCurrent->AddItem(new TIniComment(line, FLinePos));
      return;
    case u'=':
      FCurrent->AddItem(new TIniTextLine(line));
      return;
    case u'[':
      AddSectionHead(first);
      return;
    default:
      break;
  }
  size_t wordEnd = first;
  while (wordEnd < line.size() && !IsIniBlank(line[wordEnd])) ++wordEnd;
  const bool equalsInWord = line.find(u'=', first + 1) < wordEnd;
  const size_t afterWord = SkipBlanks(line, wordEnd);
  if (equalsInWord || (afterWord < line.size() && line[afterWord] == u'='))
    AddIdent(first);
  else
    HandleKeyword(first, wordEnd);
}

void TIniParser::AddSectionHead(size_t bracket) {
  const std::u16string& line = Line();
  const size_t nameStart = SkipBlanks(line, bracket + 1);
  const size_t close = nameStart < line.size() ? line.find(u']', nameStart + 1) : std::u16string::npos;
  if (close == std::u16string::npos) {
    FCurrent->AddItem(new TIniTextLine(line));
    return;
  }
  const size_t nameEnd = TrimBlanksBefore(line, nameStart, close);
  auto* section = new TIniSection(line, int(nameStart) + 1, int(nameEnd - nameStart));
  FDocument.AddItem(section);  // sections are always top-level
  FCurrent = section;
}

void TIniParser::AddIdent(size_t nameStart) {
  const std::u16string& line = Line();
  const size_t equals = line.find(u'=', nameStart);
  const size_t nameEnd = TrimBlanksBefore(line, nameStart, equals);
  const size_t valueStart = SkipBlanks(line, equals + 1);
  FCurrent->AddItem(new TIniIdent(line, int(nameStart) + 1, int(nameEnd - nameStart), int(valueStart) + 1));
}

void TIniParser::HandleKeyword(size_t wordStart, size_t wordEnd) {
  const std::u16string_view keyword = std::u16string_view(Line()).substr(wordStart, wordEnd - wordStart);
  if (keyword == u"object")
    OpenObject(wordStart, wordEnd, false);
  else if (keyword == u"end")
    CloseObject();
  else if (FKeywordHook && FKeywordHook(keyword))
    OpenObject(wordStart, wordEnd, true);
  else
    KeepUnplacedLine(TIniParseError::UnrecognisedLine);
}

void TIniParser::OpenObject(size_t wordStart, size_t wordEnd, bool extra) {
  const std::u16string& line = Line();
  const size_t restStart = SkipBlanks(line, wordEnd);
  const size_t colon = line.rfind(u':');
  size_t nameEnd = restStart;
  size_t valueStart = restStart;
  if (colon != std::u16string::npos && colon >= restStart) {
    nameEnd = TrimBlanksBefore(line, restStart, colon);
    valueStart = SkipBlanks(line, colon + 1);
  }
  const int nameStart = int(restStart) + 1;
  const int nameLength = int(nameEnd - restStart);
  TIniObject* object =
      extra ? new TIniExtraObject(line, nameStart, nameLength, int(valueStart) + 1,
                                  line.substr(wordStart, wordEnd - wordStart))
            : new TIniObject(line, nameStart, nameLength, int(valueStart) + 1);
  FCurrent->AddItem(object);
  FOpened.push_back(FCurrent);
  FCurrent = object;
}

void TIniParser::CloseObject() {
  if (!dynamic_cast<TIniObject*>(FCurrent) || FOpened.empty()) {
    KeepUnplacedLine(TIniParseError::EndWithoutObject);
    return;
  }
  FCurrent->AddItem(new TIniTextLine(Line()));  // the "end" line belongs to the object
  FCurrent = FOpened.back();
  FOpened.pop_back();
}

void TIniParser::KeepUnplacedLine(TIniParseError error) {
  Report(error);
  FCurrent->AddItem(new TIniTextLine(Line()));
}

void TIniParser::Report(TIniParseError error) {
  if (FErrorHook) FErrorHook(error, FLinePos, LineNo());
}

}  // namespace kiv
