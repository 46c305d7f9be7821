#include "graphics/graphics_container_header.h"

#include <charconv>
#include <cstring>
#include <map>
#include <string>

#include "graphics/bitmap.h"

namespace kiv {

namespace {

std::string ReadText(TStream& stream) {
  std::string text(stream.ReadWord(), '\0');
  stream.ReadBuffer(text.data(), int64_t(text.size()));
  return text;
}

// The decimal integer that is the whole of text.
std::optional<int64_t> DecimalValue(const std::string& text) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<TGraphicsContainerHeader> ReadGraphicsContainerHeader(TStream& stream) {
  char magic[4];
  stream.ReadBuffer(magic, 4);
  if (std::memcmp(magic, "ZQGF", 4) != 0) return std::nullopt;
  std::map<std::string, std::string> fields;
  for (int count = stream.ReadWord(); count > 0; --count) {
    std::string key = ReadText(stream);
    fields[std::move(key)] = ReadText(stream);
  }

  if (!fields.contains("File")) return std::nullopt;
  const std::optional<int64_t> width = DecimalValue(fields["Width"]);
  const std::optional<int64_t> height = DecimalValue(fields["Height"]);
  const std::optional<int64_t> originalSize = DecimalValue(fields["OriginalSize"]);
  if (!width || !height || !originalSize || !AllowedPictureSize(*width, *height)) return std::nullopt;
  return TGraphicsContainerHeader{int(*width), int(*height), *originalSize};
}

}  // namespace kiv
