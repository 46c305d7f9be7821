#pragma once
// The button skins of one show, each read from the show's files once per theme name.
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "container/file_accessor.h"
#include "model/button_skin.h"

namespace kiv {

class TButtonSkinCatalog {
 public:
  // The theme used when a button names a skin the show does not carry.
  static constexpr std::u16string_view kFallbackTheme = u"aqua";

  // pathToButtons: "PathToButtons" of "main", the folder prefix of the skin files.
  // The container is kept, not owned.
  TButtonSkinCatalog(const TFileAccessor& container, std::u16string pathToButtons);

  // The skin of theme; the fall-back theme's when the theme's file is missing or
  // unreadable; none when that one is missing too. Like the rest of the slide
  // producer it is used from one thread at a time.
  std::shared_ptr<const TButtonSkin> Skin(std::u16string_view theme);

 private:
  // The skin from the theme's own file, or none.
  std::shared_ptr<const TButtonSkin> Load(std::u16string_view theme) const;

  const TFileAccessor& FContainer;
  std::u16string FPathToButtons;
  std::map<std::u16string, std::shared_ptr<const TButtonSkin>, std::less<>> FSkins;  // by theme name
};

}  // namespace kiv
