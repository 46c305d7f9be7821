#pragma once
// The file of an installed font family, for tests and benchmarks that hold our glyph
// filling against FreeType's on the very same font file. Header only: it needs
// fontconfig, which only the folders that link the font libraries have.
#include <fontconfig/fontconfig.h>

#include <string>

namespace kiv {

// The file fontconfig gives for family; empty when the family is not installed (a
// substitute does not count: its outlines are not the ones asked for).
inline std::string InstalledFontFile(const char* family) {
  std::string file;
  FcConfig* config = FcInitLoadConfigAndFonts();
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
    FcChar8 *path = nullptr, *name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch &&
        std::string(reinterpret_cast<char*>(name)) == family &&
        FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
      file = reinterpret_cast<char*>(path);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return file;
}

}  // namespace kiv
