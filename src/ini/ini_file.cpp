#include "ini/ini_file.h"

#include <exception>

#include "base/file_stream.h"
#include "ini/ini_saver.h"
#include "ini/text_reader.h"

namespace kiv {

bool TIniFile::LoadFromStream(TStream& stream) {
  Clear();
  FLoaded = false;
  TIniParser parser(CreateTextReader(stream), *this);
  if (FErrorHook)
    parser.SetErrorHook([this](TIniParseError error, int linePos, int lineNo) {
      FErrorHook(*this, error, linePos, lineNo);
    });
  parser.SetKeywordHook(FKeywordHook);
  parser.Parse();
  FLoaded = true;
  return true;
}

bool TIniFile::SaveToStream(TStream& stream) const {
  try {
    TIniSaver saver(stream);
    SaveTo(saver);
    saver.Flush();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TIniFile::LoadFromFile(const std::string& utf8Path) {
  try {
    TFileStream stream(utf8Path, TFileMode::OpenRead);
    return LoadFromStream(stream);
  } catch (const EKivError&) {
    FLoaded = false;
    return false;
  }
}

bool TIniFile::SaveToFile(const std::string& utf8Path) const {
  try {
    TFileStream stream(utf8Path, TFileMode::Create);
    return SaveToStream(stream);
  } catch (const EKivError&) {
    return false;
  }
}

}  // namespace kiv
