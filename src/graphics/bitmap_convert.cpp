#include "graphics/bitmap_convert.h"

#include <vector>

namespace kiv {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

// 5 or 6 bits widened to 8 so that the largest value becomes 255.
constexpr uint32_t Widen5(uint32_t v) { return (v << 3) | (v >> 2); }
constexpr uint32_t Widen6(uint32_t v) { return (v << 2) | (v >> 4); }
// 8 bits narrowed to 5 or 6, rounded to the nearest step.
constexpr uint32_t Narrow5(uint32_t v) { return (v * 31 + 127) / 255; }
constexpr uint32_t Narrow6(uint32_t v) { return (v * 63 + 127) / 255; }

uint16_t LoadWord(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
void StoreWord(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

// One row of source as 0xAARRGGBB values.
void ReadRow(const TBitmap& source, int y, uint32_t* argb) {
  const uint8_t* p = source.Row(y);
  const int width = source.Width();
  switch (source.Format()) {
    case TPixelFormat::Indexed8:
      for (int x = 0; x < width; ++x) argb[x] = source.Palette()[p[x]];
      break;
    case TPixelFormat::Rgb555:
      for (int x = 0; x < width; ++x, p += 2) {
        const uint32_t v = LoadWord(p);
        argb[x] = kOpaque | Widen5((v >> 10) & 31) << 16 | Widen5((v >> 5) & 31) << 8 | Widen5(v & 31);
      }
      break;
    case TPixelFormat::Rgb565:
      for (int x = 0; x < width; ++x, p += 2) {
        const uint32_t v = LoadWord(p);
        argb[x] = kOpaque | Widen5(v >> 11) << 16 | Widen6((v >> 5) & 63) << 8 | Widen5(v & 31);
      }
      break;
    case TPixelFormat::Bgr24:
      for (int x = 0; x < width; ++x, p += 3) argb[x] = kOpaque | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
      break;
    case TPixelFormat::Bgra32:
      for (int x = 0; x < width; ++x, p += 4)
        argb[x] = uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
      break;
  }
}

// One row of target from 0xAARRGGBB values; never called for Indexed8.
void WriteRow(TBitmap& target, int y, const uint32_t* argb) {
  uint8_t* p = target.Row(y);
  const int width = target.Width();
  switch (target.Format()) {
    case TPixelFormat::Indexed8:
      break;
    case TPixelFormat::Rgb555:
      for (int x = 0; x < width; ++x, p += 2) {
        const uint32_t c = argb[x];
        StoreWord(p, Narrow5((c >> 16) & 255) << 10 | Narrow5((c >> 8) & 255) << 5 | Narrow5(c & 255));
      }
      break;
    case TPixelFormat::Rgb565:
      for (int x = 0; x < width; ++x, p += 2) {
        const uint32_t c = argb[x];
        StoreWord(p, Narrow5((c >> 16) & 255) << 11 | Narrow6((c >> 8) & 255) << 5 | Narrow5(c & 255));
      }
      break;
    case TPixelFormat::Bgr24:
      for (int x = 0; x < width; ++x, p += 3) {
        p[0] = uint8_t(argb[x]);
        p[1] = uint8_t(argb[x] >> 8);
        p[2] = uint8_t(argb[x] >> 16);
      }
      break;
    case TPixelFormat::Bgra32:
      for (int x = 0; x < width; ++x, p += 4) {
        p[0] = uint8_t(argb[x]);
        p[1] = uint8_t(argb[x] >> 8);
        p[2] = uint8_t(argb[x] >> 16);
        p[3] = uint8_t(argb[x] >> 24);
      }
      break;
  }
}

bool CanConvert(TPixelFormat from, TPixelFormat to) {
  switch (to) {
    case TPixelFormat::Bgr24:
    case TPixelFormat::Bgra32: return true;
    case TPixelFormat::Rgb555:
    case TPixelFormat::Rgb565: return from == TPixelFormat::Bgr24 || from == TPixelFormat::Bgra32;
    case TPixelFormat::Indexed8: return false;
  }
  return false;
}

}  // namespace

std::unique_ptr<TBitmap> ConvertBitmap(const TBitmap& source, TPixelFormat format) {
  if (!CanConvert(source.Format(), format)) return nullptr;
  auto target = std::make_unique<TBitmap>(source.Width(), source.Height(), format);
  target->SetMipLevel(source.MipLevel());
  std::vector<uint32_t> row(size_t(source.Width()));
  for (int y = 0; y < source.Height(); ++y) {
    ReadRow(source, y, row.data());
    WriteRow(*target, y, row.data());
  }
  return target;
}

}  // namespace kiv
