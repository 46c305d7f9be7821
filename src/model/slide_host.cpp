#include "model/slide_host.h"

#include "container/file_accessor.h"
#include "model/button_skin_catalog.h"
#include "model/video_clips.h"

namespace kiv {

namespace {

constexpr std::u16string_view kVirtualPrefixes[] = {u"Text: ", u"Button: ",       u"Shadow: ",
                                                    u"Mask: ", u"PresetedMask: ", u"SlideEffectBuffer"};

}  // namespace

bool IsVirtualPictureName(std::u16string_view name) {
  for (std::u16string_view prefix : kVirtualPrefixes)
    if (name.starts_with(prefix)) return true;
  return false;
}

TKivSlideHost::TKivSlideHost(TFileAccessor* accessor, TObjectFactoryChain factories)
    : FAccessor(accessor), FFactories(std::move(factories)), FVideos(std::make_unique<TVideoClips>()) {}

TKivSlideHost::~TKivSlideHost() = default;

void TKivSlideHost::SetButtonPath(std::u16string path) {
  std::lock_guard lock(FSkinsLock);
  FButtonPath = std::move(path);
  FSkins.reset();
}

std::shared_ptr<const TButtonSkin> TKivSlideHost::ButtonSkin(std::u16string_view theme) const {
  if (!FAccessor) return nullptr;
  std::lock_guard lock(FSkinsLock);
  if (!FSkins) FSkins = std::make_unique<TButtonSkinCatalog>(*FAccessor, FButtonPath);
  return FSkins->Skin(theme);
}

std::shared_ptr<TBitmapStore> TKivSlideHost::LoadPicture(std::u16string_view name) const {
  if (!FAccessor) return nullptr;
  if (IsVirtualPictureName(name)) return FAccessor->Source().ProvidePicture(name);
  // The store is handed out tied to the shared handle, so the picture stays shared
  // through the table for as long as the object holds it.
  std::shared_ptr<accessor::TKivImage> image = FAccessor->LoadPicture(name);
  TBitmapStore* store = image->Store().get();
  return std::shared_ptr<TBitmapStore>(std::move(image), store);
}

void TKivSlideHost::AddPictureProvider(TFileSource::TPictureProvider provider) {
  if (FAccessor) FAccessor->Source().AddPictureProvider(std::move(provider));
}

std::optional<TVector3> TKivSlideHost::Camera() const {
  if (!FCameraQuery) return std::nullopt;
  return FCameraQuery();
}

void TKivSlideHost::RequestRedraw() const {
  if (FRedrawRequest) FRedrawRequest();
}

}  // namespace kiv
