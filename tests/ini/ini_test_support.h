#pragma once
// Documents from text and text from documents, for the INI model and parser tests.
#include <memory>
#include <string>
#include <string_view>

#include "base/memory_stream.h"
#include "base/text.h"
#include "ini/ini_file.h"
#include "ini/ini_line_writer.h"

namespace kiv {

// Every line an item writes, each followed by "\n".
class TLineRecorder : public IIniLineWriter {
 public:
  void WriteLine(std::u16string_view text) override { (FText += text) += u'\n'; }
  void WriteEmptyLine() override { FText += u'\n'; }
  const std::u16string& Text() const { return FText; }

 private:
  std::u16string FText;
};

inline std::u16string Dump(const TCommonIniItem& item) {
  TLineRecorder recorder;
  item.SaveTo(recorder);
  return recorder.Text();
}

// Loads text (written as UTF-8 with a mark); lines may end with "\n".
inline std::unique_ptr<TIniFile> LoadIni(std::u16string_view text) {
  std::string bytes = "\xEF\xBB\xBF" + Utf16ToUtf8(text);
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  auto file = std::make_unique<TIniFile>();
  file->LoadFromStream(stream);
  return file;
}

}  // namespace kiv
