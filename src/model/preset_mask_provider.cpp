#include "model/preset_mask_provider.h"

#include "base/progress_hook.h"
#include "graphics/bitmap_store.h"
#include "graphics/preset_mask.h"
#include "model/slide_host.h"

namespace kiv {

std::unique_ptr<TBitmap> PresetMaskPicture(std::u16string_view name) {
  const std::optional<TPresetMaskRequest> request = ParsePresetMaskName(name);
  if (!request) return nullptr;
  return MakePresetMask(*request, [] { return ProgressHook(); });
}

void InstallPresetMaskProvider(TKivSlideHost& host) {
  host.AddPictureProvider([](std::u16string_view name) -> std::shared_ptr<TBitmapStore> {
    std::unique_ptr<TBitmap> shape = PresetMaskPicture(name);
    if (!shape) return nullptr;
    return std::make_shared<TWrapperBitmapStore>(std::move(shape));
  });
}

}  // namespace kiv
