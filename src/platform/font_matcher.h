#pragma once
// The process's font configuration (fontconfig) and the fonts opened through it. A
// family and style is matched once and its font kept; a font file is opened once for a
// style however it was reached (asked for by family, or as a fallback); a file that
// fails to open is not tried again.
#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "platform/freetype_font.h"

namespace kiv {

class TFontMatcher {
 public:
  // Made on first use and never freed (fonts may be held until the process exits).
  static TFontMatcher& Get();

  // The best installed font for family and style that opens: the configuration's order
  // of matches is tried until one does; none when none does.
  std::shared_ptr<TFreeTypeFont> Find(std::u16string_view family, uint8_t style);
  // An installed font in style that has character, the configuration's choice for it
  // near family; none when no font has it.
  std::shared_ptr<TFreeTypeFont> Fallback(const std::u16string& family, char32_t character, uint8_t style);

 private:
  TFontMatcher();
  // The pattern asking for family (when given) in style; the caller destroys it.
  FcPattern* Request(const std::u16string& family, uint8_t style, FcCharSet* characters) const;
  // The font a match found, in style; none when it does not open.
  std::shared_ptr<TFreeTypeFont> Open(FcPattern* match, uint8_t style);

  std::mutex Mutex_;  // around everything below, and fontconfig
  FcConfig* Config_ = nullptr;
  std::map<std::pair<std::u16string, uint8_t>, std::shared_ptr<TFreeTypeFont>> Found_;
  std::map<std::tuple<std::string, int, uint8_t>, std::shared_ptr<TFreeTypeFont>> Opened_;
  std::set<std::pair<std::string, int>> Failed_;
  std::map<std::tuple<std::u16string, uint8_t, char32_t>, std::shared_ptr<TFreeTypeFont>> Fallbacks_;
};

}  // namespace kiv
