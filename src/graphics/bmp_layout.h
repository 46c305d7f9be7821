#pragma once
// What a BMP decoder needs from a file's headers, checked against the file's length
// and the allowed picture size, so that decoding never reads outside the file nor
// allocates a picture that was refused.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "graphics/pixel_format.h"

namespace kiv {

inline constexpr int kBmpFileHeaderSize = 14;

// How the pixel data is stored.
enum class TBmpEncoding : uint8_t {
  Palette,  // 1, 4 or 8 bits of palette index per pixel
  Rle8,     // run-length coded 8-bit indexes
  Rle4,     // run-length coded 4-bit indexes
  Rgb555,
  Rgb565,
  Bgr24,
  Bgra32,
};

struct TBmpLayout {
  int Width = 0;
  int Height = 0;
  bool TopDown = false;  // rows stored from the top instead of from the bottom
  int BitsPerPixel = 0;
  TBmpEncoding Encoding = TBmpEncoding::Bgr24;
  int64_t FileSize = 0;    // as the file header gives it; every read stays below it
  int64_t DataOffset = 0;  // first byte of the pixel data
  int64_t Stride = 0;      // bytes per stored row of uncoded data
  std::vector<uint32_t> Palette;  // 0xFFRRGGBB; indexes past its end read as black

  // The pixel format the picture decodes to.
  TPixelFormat Format() const;
  // Writes the palette colour of index into a Bgr24 pixel.
  void PutPaletteColour(uint8_t* pixel, uint32_t index) const {
    const uint32_t colour = index < Palette.size() ? Palette[index] : 0;
    pixel[0] = uint8_t(colour);
    pixel[1] = uint8_t(colour >> 8);
    pixel[2] = uint8_t(colour >> 16);
  }
};

// The file size announced by a 14-byte BMP file header, or nothing when header is not one.
std::optional<int64_t> BmpFileSize(std::span<const uint8_t> header);

// The layout of the BMP file that starts at file[0], or nothing when the file is shorter
// than its header announces, is damaged, or uses a depth, compression or bit-field mask
// this decoder refuses.
std::optional<TBmpLayout> ReadBmpLayout(std::span<const uint8_t> file);

}  // namespace kiv
