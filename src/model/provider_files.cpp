#include "model/provider_files.h"

#include "graphics/picture_loaders.h"
#include "model/slide_host.h"

namespace kiv {

TProviderFiles::TProviderFiles(TFileSource& source, std::u16string baseFolder)
    : FFiles(std::shared_ptr<TFileSource>(std::shared_ptr<TFileSource>(), &source), std::move(baseFolder)) {}

std::shared_ptr<const TBitmap> TProviderFiles::DecodePicture(std::u16string_view name) const {
  const std::unique_ptr<TStream> stream = FFiles.OpenStream(name);
  if (!stream) return nullptr;
  try {
    if (const std::shared_ptr<TBitmapStore> store = LoadBitmapStore(*stream, name))
      return store->GetMipLevel(0, TPixelFormat::Bgra32);
  } catch (const std::exception&) {
  }
  return nullptr;
}

void InstallProvider(TKivSlideHost& host,
                     const std::function<TFileSource::TPictureProvider(TProviderFiles files)>& make) {
  const TFileAccessor* accessor = host.Accessor();
  if (!accessor) return;
  host.AddPictureProvider(make(TProviderFiles(accessor->Source(), accessor->BaseFolder())));
}

}  // namespace kiv
