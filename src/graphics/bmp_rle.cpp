#include "graphics/bmp_rle.h"

#include <algorithm>

namespace kiv {

namespace {

// Escape codes after a zero count.
constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfPicture = 1;
constexpr uint8_t kMove = 2;

// The i-th index of a run: every byte in 8-bit data, alternating nibbles (high first)
// in 4-bit data.
uint32_t RunIndex(bool nibbles, uint8_t value, int i) {
  if (!nibbles) return value;
  return i % 2 == 0 ? value >> 4 : value & 15u;
}

}  // namespace

void DecodeBmpRle(std::span<const uint8_t> file, const TBmpLayout& layout, TBitmap& target) {
  const std::span<const uint8_t> data =
      file.subspan(size_t(layout.DataOffset), size_t(layout.FileSize - layout.DataOffset));
  const bool nibbles = layout.Encoding == TBmpEncoding::Rle4;
  int x = 0;
  int row = 0;  // counted in storage order
  auto put = [&](uint32_t index) {
    if (x >= layout.Width) return;
    const int y = layout.TopDown ? row : layout.Height - 1 - row;
    layout.PutPaletteColour(target.Row(y) + size_t(x) * 3, index);
    ++x;
  };

  size_t at = 0;
  while (at + 2 <= data.size() && row < layout.Height) {
    const uint8_t count = data[at];
    const uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(RunIndex(nibbles, value, i));
    } else if (value == kEndOfLine) {
      x = 0;
      ++row;
    } else if (value == kEndOfPicture) {
      break;
    } else if (value == kMove) {
      if (at + 2 > data.size()) break;
      x = std::min(layout.Width, x + data[at]);
      row += data[at + 1];
      at += 2;
    } else {
      // value literal indexes, padded to a 16-bit boundary.
      const size_t bytes = nibbles ? (value + 1u) / 2 : value;
      if (at + bytes > data.size()) break;
      for (int i = 0; i < value; ++i) put(RunIndex(nibbles, data[at + size_t(nibbles ? i / 2 : i)], i));
      at += (bytes + 1) & ~size_t(1);
    }
  }
}

}  // namespace kiv
