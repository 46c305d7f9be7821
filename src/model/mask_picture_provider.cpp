#include "model/mask_picture_provider.h"

#include "graphics/bitmap_convert.h"
#include "graphics/bitmap_store.h"
#include "model/preset_mask_provider.h"
#include "model/provider_files.h"

namespace kiv {

namespace {

constexpr std::u16string_view kMaskPrefix = u"Mask: ";

bool HasTransparency(const TBitmap& picture) {
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* pixel = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, pixel += 4)
      if (pixel[3] != 255) return true;
  }
  return false;
}

// The picture a mask is made of: a generated shape, or a picture of the show.
std::shared_ptr<const TBitmap> MaskSource(const TProviderFiles& files, std::u16string_view name) {
  if (std::unique_ptr<TBitmap> shape = PresetMaskPicture(name)) return ConvertBitmap(*shape, TPixelFormat::Bgra32);
  return files.DecodePicture(name);
}

// ITU-R BT.601 weights in 1/256.
uint8_t Brightness(const uint8_t* bgra) { return uint8_t((29 * bgra[0] + 150 * bgra[1] + 77 * bgra[2]) >> 8); }

}  // namespace

std::unique_ptr<TBitmap> MaskOfPicture(const TBitmap& picture) {
  const bool byAlpha = HasTransparency(picture);
  auto mask = std::make_unique<TBitmap>(picture.Width(), picture.Height(), TPixelFormat::Bgra32);
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* from = picture.Row(y);
    uint8_t* to = mask->Row(y);
    for (int x = 0; x < picture.Width(); ++x, from += 4, to += 4) {
      to[0] = to[1] = to[2] = 255;
      to[3] = byAlpha ? from[3] : Brightness(from);
    }
  }
  return mask;
}

void InstallMaskPictureProvider(TKivSlideHost& host) {
  InstallProvider(host, [](TProviderFiles files) -> TFileSource::TPictureProvider {
    auto shared = std::make_shared<TProviderFiles>(std::move(files));
    return [shared](std::u16string_view name) -> std::shared_ptr<TBitmapStore> {
      if (!name.starts_with(kMaskPrefix)) return nullptr;
      const std::shared_ptr<const TBitmap> picture = MaskSource(*shared, name.substr(kMaskPrefix.size()));
      if (!picture) return nullptr;
      return std::make_shared<TWrapperBitmapStore>(MaskOfPicture(*picture));
    };
  });
}

}  // namespace kiv
