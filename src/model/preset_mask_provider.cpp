#include "model/preset_mask_provider.h"

#include "base/progress_hook.h"
#include "graphics/bitmap_convert.h"
#include "graphics/bitmap_store.h"
#include "graphics/preset_mask.h"
#include "model/mask_picture_provider.h"
#include "model/slide_host.h"

namespace kiv {

namespace {

constexpr std::u16string_view kMaskPrefix = u"Mask: ";

std::unique_ptr<TBitmap> PresetMaskOfName(std::u16string_view name) {
  const std::optional<TPresetMaskRequest> request = ParsePresetMaskName(name);
  if (!request) return nullptr;
  return MakePresetMask(*request, [] { return ProgressHook(); });
}

std::shared_ptr<TBitmapStore> ProvidePresetMask(std::u16string_view name) {
  if (std::unique_ptr<TBitmap> shape = PresetMaskOfName(name))
    return std::make_shared<TWrapperBitmapStore>(std::move(shape));
  if (!name.starts_with(kMaskPrefix)) return nullptr;
  // The grey shape read as a mask the way the mask provider reads an opaque picture.
  const std::unique_ptr<TBitmap> shape = PresetMaskOfName(name.substr(kMaskPrefix.size()));
  if (!shape) return nullptr;
  return std::make_shared<TWrapperBitmapStore>(MaskOfPicture(*ConvertBitmap(*shape, TPixelFormat::Bgra32)));
}

}  // namespace

void InstallPresetMaskProvider(TKivSlideHost& host) { host.AddPictureProvider(ProvidePresetMask); }

}  // namespace kiv
