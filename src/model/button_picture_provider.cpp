#include "model/button_picture_provider.h"

#include <map>
#include <mutex>

#include "base/picture_budget.h"
#include "base/text.h"
#include "model/button_picture_name.h"
#include "model/button_skin_catalog.h"
#include "model/provider_files.h"
#include "model/slide_host.h"

namespace kiv {

namespace {

class TButtonPictureProvider {
 public:
  explicit TButtonPictureProvider(TProviderFiles files) : FFiles(std::move(files)), FSkins(FFiles.Files(), u"") {}

  std::shared_ptr<TBitmapStore> Provide(std::u16string_view name) {
    const std::optional<TButtonPictureRequest> request = ParseButtonPictureName(name);
    if (!request || !AllowedPictureSize(request->Size.Width, request->Size.Height) ||
        !FitsPictureBudget(request->Size.Width, request->Size.Height, BytesPerPixel(TPixelFormat::Bgra32),
                           Utf16ToUtf8(name)))
      return nullptr;
    std::lock_guard lock(FLock);
    const std::shared_ptr<const TButtonSkin> skin = FSkins.Skin(request->Skin);
    if (!skin) return nullptr;
    std::unique_ptr<TBitmap> picture =
        ComposeButtonPicture(skin->State(request->State), request->Size,
                             [this, &skin](std::u16string_view part) { return SkinPicture(skin->Theme, part); });
    AdjustHsl(*picture, request->Colours);
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

  // A picture of the show, decoded once; none when missing or undecodable.
  std::shared_ptr<const TBitmap> ShowPicture(std::u16string_view name) {
    const auto known = FPictures.find(name);
    if (known != FPictures.end()) return known->second;
    std::shared_ptr<const TBitmap> picture = FFiles.DecodePicture(name);
    FPictures.emplace(name, picture);
    return picture;
  }

  std::mutex FLock;
  TProviderFiles FFiles;
  TButtonSkinCatalog FSkins;  // by skin folder and theme, without prefix
  std::map<std::u16string, std::shared_ptr<const TBitmap>, std::less<>> FPictures;
};

}  // namespace

void InstallButtonPictureProvider(TKivSlideHost& host) {
  InstallProvider(host, [](TProviderFiles files) -> TFileSource::TPictureProvider {
    auto provider = std::make_shared<TButtonPictureProvider>(std::move(files));
    return [provider](std::u16string_view name) { return provider->Provide(name); };
  });
}

}  // namespace kiv
