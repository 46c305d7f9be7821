#include "graphics/bmp_decoder.h"

#include <cstring>

#include "graphics/bmp_rle.h"

namespace kiv {

namespace {

void DecodePaletteRow(const uint8_t* source, const TBmpLayout& layout, uint8_t* target) {
  const int bits = layout.BitsPerPixel;
  const uint32_t mask = (1u << bits) - 1;
  for (int x = 0; x < layout.Width; ++x, target += 3) {
    const size_t bit = size_t(x) * size_t(bits);
    const uint32_t index = (source[bit / 8] >> (8 - bits - bit % 8)) & mask;  // leftmost pixel in the high bits
    layout.PutPaletteColour(target, index);
  }
}

void MakeOpaqueWhenAlphaIsAllZero(TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x)
      if (row[4 * x + 3] != 0) return;
  }
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[4 * x + 3] = 255;
  }
}

}  // namespace

std::unique_ptr<TBitmap> DecodeBmpPixels(std::span<const uint8_t> file, const TBmpLayout& layout) {
  auto bitmap = std::make_unique<TBitmap>(layout.Width, layout.Height, layout.Format());
  if (layout.Encoding == TBmpEncoding::Rle8 || layout.Encoding == TBmpEncoding::Rle4) {
    DecodeBmpRle(file, layout, *bitmap);
    return bitmap;
  }
  const size_t rowBytes = size_t(layout.Width) * size_t(BytesPerPixel(layout.Format()));
  for (int row = 0; row < layout.Height; ++row) {
    const uint8_t* source = file.data() + layout.DataOffset + int64_t(row) * layout.Stride;
    uint8_t* target = bitmap->Row(layout.TopDown ? row : layout.Height - 1 - row);
    if (layout.Encoding == TBmpEncoding::Palette)
      DecodePaletteRow(source, layout, target);
    else
      std::memcpy(target, source, rowBytes);
  }
  if (layout.Encoding == TBmpEncoding::Bgra32) MakeOpaqueWhenAlphaIsAllZero(*bitmap);
  return bitmap;
}

std::unique_ptr<TBitmap> DecodeBmp(std::span<const uint8_t> file) {
  const std::optional<TBmpLayout> layout = ReadBmpLayout(file);
  return layout ? DecodeBmpPixels(file, *layout) : nullptr;
}

}  // namespace kiv
