#include "platform/font_matcher.h"

#include "platform/font_text.h"

namespace kiv {

namespace {

constexpr uint8_t kStyleBits = kInstalledBold | kInstalledItalic;

struct TFontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct TPatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};

}  // namespace

TFontMatcher& TFontMatcher::Get() {
  static TFontMatcher* matcher = new TFontMatcher;
  return *matcher;
}

TFontMatcher::TFontMatcher() : Config_(FcInitLoadConfigAndFonts()) {}

FcPattern* TFontMatcher::Request(const std::u16string& family, uint8_t style, FcCharSet* characters) const {
  FcPattern* pattern = FcPatternCreate();
  if (!family.empty()) {
    const std::string name = FontUtf8(family);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, (style & kInstalledBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, (style & kInstalledItalic) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if (characters) FcPatternAddCharSet(pattern, FC_CHARSET, characters);
  FcConfigSubstitute(Config_, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  return pattern;
}

std::shared_ptr<TFreeTypeFont> TFontMatcher::Open(FcPattern* match, uint8_t style) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch || !file) return nullptr;
  FcBool outline = FcTrue;
  if (FcPatternGetBool(match, FC_OUTLINE, 0, &outline) == FcResultMatch && !outline) return nullptr;
  int index = 0;
  FcPatternGetInteger(match, FC_INDEX, 0, &index);
  const std::string path = reinterpret_cast<const char*>(file);
  const auto key = std::make_tuple(path, index, style);
  if (auto opened = Opened_.find(key); opened != Opened_.end()) return opened->second;
  if (Failed_.count({path, index})) return nullptr;

  // A face lighter than semi-bold is made bold when bold is asked, an upright one is
  // slanted when italic is (oblique faces count as italic ones).
  int weight = FC_WEIGHT_REGULAR;
  int slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
  FcPatternGetInteger(match, FC_SLANT, 0, &slant);
  uint8_t synthesised = 0;
  if ((style & kInstalledBold) && weight < FC_WEIGHT_DEMIBOLD) synthesised |= kInstalledBold;
  if ((style & kInstalledItalic) && slant == FC_SLANT_ROMAN) synthesised |= kInstalledItalic;
  FcChar8* family = nullptr;
  std::u16string familyName;
  if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family)
    familyName = FontUtf16(reinterpret_cast<const char*>(family));

  std::shared_ptr<TFreeTypeFont> font = TFreeTypeFont::Open(path, index, std::move(familyName), style, synthesised);
  if (!font) {
    Failed_.insert({path, index});
    return nullptr;
  }
  Opened_.emplace(key, font);
  return font;
}

std::shared_ptr<TFreeTypeFont> TFontMatcher::Find(std::u16string_view family, uint8_t style) {
  style &= kStyleBits;
  std::lock_guard lock(Mutex_);
  auto key = std::make_pair(std::u16string(family), style);
  if (auto found = Found_.find(key); found != Found_.end()) return found->second;
  std::shared_ptr<TFreeTypeFont> font;
  if (Config_) {
    std::unique_ptr<FcPattern, TPatternDeleter> request(Request(key.first, style, nullptr));
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcFontSet, TFontSetDeleter> matches(
        FcFontSort(Config_, request.get(), FcFalse, nullptr, &result));
    for (int n = 0; matches && n < matches->nfont && !font; ++n) font = Open(matches->fonts[n], style);
  }
  Found_.emplace(std::move(key), font);
  return font;
}

std::shared_ptr<TFreeTypeFont> TFontMatcher::Fallback(const std::u16string& family, char32_t character,
                                                      uint8_t style) {
  style &= kStyleBits;
  std::lock_guard lock(Mutex_);
  auto key = std::make_tuple(family, style, character);
  if (auto found = Fallbacks_.find(key); found != Fallbacks_.end()) return found->second;
  std::shared_ptr<TFreeTypeFont> font;
  if (Config_) {
    // The character set ranks before the family in fontconfig's order, so the fonts that
    // have the character come first, the ones nearest the family among them.
    FcCharSet* characters = FcCharSetCreate();
    FcCharSetAddChar(characters, character);
    std::unique_ptr<FcPattern, TPatternDeleter> request(Request(family, style, characters));
    FcCharSetDestroy(characters);
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcFontSet, TFontSetDeleter> matches(
        FcFontSort(Config_, request.get(), FcFalse, nullptr, &result));
    for (int n = 0; matches && n < matches->nfont && !font; ++n) {
      FcPattern* match = matches->fonts[n];
      FcCharSet* has = nullptr;
      if (FcPatternGetCharSet(match, FC_CHARSET, 0, &has) != FcResultMatch || !FcCharSetHasChar(has, character))
        continue;
      font = Open(match, style);
      if (font && !font->HasCharacter(character)) font = nullptr;
    }
  }
  Fallbacks_.emplace(std::move(key), font);
  return font;
}

}  // namespace kiv
