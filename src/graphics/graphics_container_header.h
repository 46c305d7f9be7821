#pragma once
// The header of the system's graphics container: "ZQGF", a u16 field count, then that
// many pairs of u16-length-prefixed UTF-8 key and value (little-endian); a raw deflate
// stream of a BMP file follows it to the end of the stream.
#include <cstdint>
#include <optional>

#include "base/stream.h"

namespace kiv {

struct TGraphicsContainerHeader {
  int Width = 0;
  int Height = 0;
  int64_t OriginalSize = 0;
};

// Reads the header at the stream's position, leaving the stream at the payload. Nothing
// when the magic differs, a required key ("File", "Width", "Height", "OriginalSize") is
// missing, a number is not a decimal integer, or the size is not allowed. Raises a
// stream read error when the stream ends inside the header.
std::optional<TGraphicsContainerHeader> ReadGraphicsContainerHeader(TStream& stream);

}  // namespace kiv
