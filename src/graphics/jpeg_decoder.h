#pragma once
// JPEG header reading and decoding through libjpeg, from data held in memory. The
// library's fatal errors come back as failed results, never as an exit of the process.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "graphics/bitmap.h"

namespace kiv {

struct TJpegHeader {
  int Width = 0;
  int Height = 0;
  int Components = 0;  // 1 grey, 3 colour, 4 CMYK or YCCK
};

// The header of the JPEG in data, or nothing when it cannot be read.
std::optional<TJpegHeader> ReadJpegHeader(std::span<const uint8_t> data);

// A side of the picture decoded at 1 / scaleDenominator (rounded up, as the DCT scaling does).
int JpegScaledSide(int side, int scaleDenominator);

// Decodes data at 1 / scaleDenominator (1, 2, 4 or 8) into target, which has the scaled
// size and is Indexed8 (given a grey palette here) for single-component pictures and
// Bgr24 otherwise. Rows the data does not reach keep their contents. Progress gets the
// fraction done. True when the decoder reached the end of the picture (damaged or
// missing data that the library passes over with a warning still counts). An exception
// raised by progress stops the decoding and is raised again to the caller.
bool DecodeJpeg(std::span<const uint8_t> data, int scaleDenominator, TBitmap& target,
                const std::function<void(double)>& progress);

}  // namespace kiv
