#include "model/bmp_cache.h"

#include <algorithm>

#include "base/text.h"
#include "graphics/bitmap_convert.h"

namespace kiv {

std::shared_ptr<const TBitmap> TBmpCache::Texture(std::u16string_view file) {
  std::u16string key = LowerCase(file);
  if (const auto known = FFiles.find(key); known != FFiles.end()) return known->second;
  std::shared_ptr<const TBitmap> texture = FLoader ? FLoader(file) : nullptr;
  if (texture && texture->Format() != TPixelFormat::Bgra32) texture = ConvertBitmap(*texture, TPixelFormat::Bgra32);
  FFiles.emplace(std::move(key), texture);
  return texture;
}

std::shared_ptr<const TBitmap> TBmpCache::Piece(std::u16string_view file, const TRect& bounds, TPieceTreatment treatment) {
  auto key = std::make_tuple(LowerCase(file), bounds.Left, bounds.Top, bounds.Right, bounds.Bottom, treatment);
  if (const auto known = FPieces.find(key); known != FPieces.end()) return known->second;
  std::shared_ptr<TBitmap> piece;
  if (const std::shared_ptr<const TBitmap> texture = Texture(file); texture && !bounds.IsEmpty()) {
    piece = std::make_shared<TBitmap>(bounds.Width(), bounds.Height(), TPixelFormat::Bgra32);
    const TRect inside = Intersection(bounds, {0, 0, texture->Width(), texture->Height()});
    for (int32_t y = inside.Top; y < inside.Bottom; ++y)
      std::copy_n(texture->Row(y) + size_t(inside.Left) * 4, size_t(inside.Width()) * 4,
                  piece->Row(y - bounds.Top) + size_t(inside.Left - bounds.Left) * 4);
    if (!FShift.IsNone()) AdjustHsl(*piece, FShift);
    if (treatment != TPieceTreatment::None) {
      for (int32_t y = 0; y < piece->Height(); ++y) {
        uint8_t* p = piece->Row(y);
        for (int32_t x = 0; x < piece->Width(); ++x, p += 4) {
          const uint8_t mean = uint8_t((p[0] + p[1] + p[2]) / 3);
          p[0] = p[1] = p[2] = mean;
          if (treatment == TPieceTreatment::GrayFaded) p[3] = uint8_t(p[3] / 4);
        }
      }
    }
  }
  FPieces.emplace(std::move(key), piece);
  return piece;
}

}  // namespace kiv
