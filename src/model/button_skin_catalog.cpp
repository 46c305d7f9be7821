#include "model/button_skin_catalog.h"

#include "base/errors.h"
#include "ini/ini_file.h"

namespace kiv {

TButtonSkinCatalog::TButtonSkinCatalog(const TFileAccessor& container, std::u16string pathToButtons)
    : FContainer(container), FPathToButtons(std::move(pathToButtons)) {}

std::shared_ptr<const TButtonSkin> TButtonSkinCatalog::Skin(std::u16string_view theme) {
  if (const auto known = FSkins.find(theme); known != FSkins.end()) return known->second;
  std::shared_ptr<const TButtonSkin> skin = Load(theme);
  if (!skin && theme != kFallbackTheme) skin = Skin(kFallbackTheme);
  FSkins.emplace(theme, skin);
  return skin;
}

std::shared_ptr<const TButtonSkin> TButtonSkinCatalog::Load(std::u16string_view theme) const {
  const std::unique_ptr<TStream> stream = FContainer.OpenStream(ButtonSkinFileName(FPathToButtons, theme));
  if (!stream) return nullptr;
  TIniFile file;
  try {
    if (!file.LoadFromStream(*stream)) return nullptr;
  } catch (const EKivError&) {
    return nullptr;
  }
  return std::make_shared<const TButtonSkin>(ReadButtonSkin(file, theme));
}

}  // namespace kiv
