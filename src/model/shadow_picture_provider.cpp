#include "model/shadow_picture_provider.h"

#include <cmath>

#include "graphics/bitmap_store.h"
#include "model/provider_files.h"
#include "model/shadow_blur.h"

namespace kiv {

namespace {

struct TCell {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

std::optional<TCell> CasterCell(const TShadowPictureKey& key, const TBitmap& caster) {
  if (key.CellWidth == 0 && key.CellHeight == 0) return TCell{0, 0, caster.Width(), caster.Height()};
  if (key.CellWidth <= 0 || key.CellHeight <= 0 || int64_t(key.CellLeft) + key.CellWidth > caster.Width() ||
      int64_t(key.CellTop) + key.CellHeight > caster.Height())
    return std::nullopt;
  return TCell{key.CellLeft, key.CellTop, key.CellWidth, key.CellHeight};
}

// The caster's alpha times its own alpha in the area inside the border; the caster's
// cell is sampled at the nearest pixel, as the blur smooths it anyway.
std::optional<TShadowMask> CasterMask(const TShadowPictureKey& key, const TShadowLayout& layout,
                                      const TBitmap* caster) {
  TShadowMask mask(layout.Width + 2 * layout.Border, layout.Height + 2 * layout.Border);
  const float own = key.CasterAlpha / 255.0f;
  std::optional<TCell> cell;
  if (caster && !(cell = CasterCell(key, *caster))) return std::nullopt;
  for (int32_t y = 0; y < layout.Height; ++y) {
    const uint8_t* row = cell ? caster->Row(cell->Top + int32_t(int64_t(y) * cell->Height / layout.Height)) : nullptr;
    for (int32_t x = 0; x < layout.Width; ++x) {
      const float alpha = row ? row[4 * (cell->Left + int64_t(x) * cell->Width / layout.Width) + 3] / 255.0f : 1.0f;
      mask.At(x + layout.Border, y + layout.Border) = alpha * own;
    }
  }
  return mask;
}

}  // namespace

float SpreadTone(float t, int32_t spreadIndex) {
  t = std::clamp(t, 0.0f, 1.0f);
  if (spreadIndex > 0) return 1 - std::pow(1 - t, float(spreadIndex + 1));
  if (spreadIndex < 0) return std::pow(t, float(1 - spreadIndex));
  return t;
}

std::unique_ptr<TBitmap> MakeShadowPicture(const TShadowPictureKey& key, const TBitmap* caster) {
  const TShadowLayout layout = ShadowLayout(key);
  const std::optional<TShadowMask> mask = CasterMask(key, layout, caster);
  if (!mask) return nullptr;
  const TShadowMask blurred = BlurShadowMask(*mask, layout.Radius);
  auto shadow = std::make_unique<TBitmap>(blurred.Width, blurred.Height, TPixelFormat::Bgra32);
  for (int32_t y = 0; y < blurred.Height; ++y) {
    uint8_t* pixel = shadow->Row(y);
    for (int32_t x = 0; x < blurred.Width; ++x, pixel += 4) {
      pixel[0] = key.Blue, pixel[1] = key.Green, pixel[2] = key.Red;
      pixel[3] = uint8_t(std::lround(key.Alpha * SpreadTone(blurred.At(x, y), key.SpreadIndex)));
    }
  }
  return shadow;
}

void InstallShadowPictureProvider(TKivSlideHost& host) {
  InstallProvider(host, [](TProviderFiles files) -> TFileSource::TPictureProvider {
    auto shared = std::make_shared<TProviderFiles>(std::move(files));
    return [shared](std::u16string_view name) -> std::shared_ptr<TBitmapStore> {
      const std::optional<TShadowPictureKey> key = ParseShadowPictureName(name);
      if (!key) return nullptr;
      std::shared_ptr<const TBitmap> caster;
      if (key->Caster != kBoxShadowCaster && !(caster = shared->DecodePicture(key->Caster))) return nullptr;
      std::unique_ptr<TBitmap> shadow = MakeShadowPicture(*key, caster.get());
      if (!shadow) return nullptr;
      return std::make_shared<TWrapperBitmapStore>(std::move(shadow));
    };
  });
}

}  // namespace kiv
