#include "platform/installed_fonts.h"

#include "platform/font_matcher.h"

namespace kiv {

std::shared_ptr<TInstalledFont> TInstalledFont::Find(std::u16string_view family, uint8_t style) {
  return TFontMatcher::Get().Find(family, style);
}

}  // namespace kiv
