#include "model/button_picture_provider.h"

#include <map>
#include <mutex>

#include "container/file_accessor.h"
#include "graphics/picture_loaders.h"
#include "model/button_picture_name.h"
#include "model/button_skin_catalog.h"
#include "model/slide_host.h"

namespace kiv {

namespace {

class TButtonPictureProvider {
 public:
  // The provider lives inside source, so it reaches it without holding it: holding it
  // would keep the source alive for ever.
  TButtonPictureProvider(TFileSource& source, std::u16string baseFolder)
      : FFiles(std::shared_ptr<TFileSource>(std::shared_ptr<TFileSource>(), &source), std::move(baseFolder)),
        FSkins(FFiles, u"") {}

  std::shared_ptr<TBitmapStore> Provide(std::u16string_view name) {
    const std::optional<TButtonPictureRequest> request = ParseButtonPictureName(name);
    if (!request || !AllowedPictureSize(request->Size.Width, request->Size.Height)) return nullptr;
    std::lock_guard lock(FLock);
    const std::shared_ptr<const TButtonSkin> skin = FSkins.Skin(request->Skin);
    if (!skin) return nullptr;
    std::unique_ptr<TBitmap> picture =
        ComposeButtonPicture(skin->State(request->State), request->Size,
                             [this, &skin](std::u16string_view part) { return SkinPicture(skin->Theme, part); });
    return std::make_shared<TWrapperBitmapStore>(std::move(picture));
  }

 private:
  // A picture a skin names: in the skin's own folder, else by the name as written.
  std::shared_ptr<const TBitmap> SkinPicture(std::u16string_view skinFolder, std::u16string_view name) {
    std::u16string inFolder(skinFolder);
    inFolder += u'\\';
    inFolder += name;
    if (std::shared_ptr<const TBitmap> picture = ShowPicture(inFolder)) return picture;
    return ShowPicture(name);
  }

  // A picture of the show in 32 bits, decoded once; none when missing or undecodable.
  std::shared_ptr<const TBitmap> ShowPicture(std::u16string_view name) {
    const auto known = FPictures.find(name);
    if (known != FPictures.end()) return known->second;
    std::shared_ptr<const TBitmap> picture;
    // Not through the shared picture table, which asks the providers first: this runs
    // while the source calls its providers.
    if (const std::unique_ptr<TStream> stream = FFiles.OpenStream(name)) {
      try {
        if (const std::shared_ptr<TBitmapStore> store = LoadBitmapStore(*stream, name))
          picture = store->GetMipLevel(0, TPixelFormat::Bgra32);
      } catch (const std::exception&) {
        picture = nullptr;
      }
    }
    FPictures.emplace(name, picture);
    return picture;
  }

  std::mutex FLock;
  TFileAccessor FFiles;
  TButtonSkinCatalog FSkins;  // by skin folder and theme, without prefix
  std::map<std::u16string, std::shared_ptr<const TBitmap>, std::less<>> FPictures;
};

}  // namespace

void InstallButtonPictureProvider(TKivSlideHost& host) {
  const TFileAccessor* accessor = host.Accessor();
  if (!accessor) return;
  auto provider = std::make_shared<TButtonPictureProvider>(accessor->Source(), accessor->BaseFolder());
  host.AddPictureProvider([provider](std::u16string_view name) { return provider->Provide(name); });
}

}  // namespace kiv
