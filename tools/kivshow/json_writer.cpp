#include "kivshow/json_writer.h"

#include <cmath>
#include <cstdio>

#include "base/text.h"

namespace kiv {

std::string JsonString(std::u16string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    const bool pairStart = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                           text[i + 1] <= 0xDFFF;
    if (pairStart) {
      out += Utf16ToUtf8(text.substr(i++, 2));
    } else if (unit == u'"' || unit == u'\\') {
      out += '\\';
      out += char(unit);
    } else if (unit < 0x20 || (unit >= 0xD800 && unit <= 0xDFFF)) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(unit));
      out += escape;
    } else {
      out += Utf16ToUtf8(text.substr(i, 1));
    }
  }
  return out + "\"";
}

void TJsonWriter::StartItem(std::string_view key) {
  if (!FHasItems.empty()) {
    FOut << (FHasItems.back() ? ",\n" : "\n") << std::string(2 * FHasItems.size(), ' ');
    FHasItems.back() = true;
  }
  if (!key.empty()) FOut << JsonString(Utf8ToUtf16(key)) << ": ";
}

void TJsonWriter::Open(std::string_view key, char bracket) {
  StartItem(key);
  FOut << bracket;
  FHasItems.push_back(false);
}

void TJsonWriter::Close(char bracket) {
  const bool hadItems = FHasItems.back();
  FHasItems.pop_back();
  if (hadItems) FOut << "\n" << std::string(2 * FHasItems.size(), ' ');
  FOut << bracket;
}

void TJsonWriter::BeginObject(std::string_view key) { Open(key, '{'); }
void TJsonWriter::EndObject() { Close('}'); }
void TJsonWriter::BeginArray(std::string_view key) { Open(key, '['); }
void TJsonWriter::EndArray() { Close(']'); }

void TJsonWriter::Value(std::string_view key, std::u16string_view text) {
  StartItem(key);
  FOut << JsonString(text);
}

void TJsonWriter::Value(std::string_view key, double number) {
  StartItem(key);
  if (!std::isfinite(number)) {
    FOut << "null";
    return;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", number);
  FOut << text;
}

void TJsonWriter::Value(std::string_view key, bool flag) {
  StartItem(key);
  FOut << (flag ? "true" : "false");
}

void TJsonWriter::Finish() { FOut << "\n"; }

}  // namespace kiv
