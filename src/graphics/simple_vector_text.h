#pragma once
// A vector text built from the fonts installed on this machine: each line is shaped in
// the requested font (characters it lacks come from another installed font) and the
// outlines of the glyphs used are gathered into glyph caches of the text's own, one per
// font name with style. Units are the requested font's units: glyph pointers carry its
// units per em as size, each glyph record its own font's units per em as capture size,
// so that a fallback font's glyphs are scaled into the requested font's units.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/vector_text.h"

namespace kiv {

class TSimpleVectorText : public TVectorText {
 public:
  // Glyphs of the requested font are named by fontName and the style text, glyphs of a
  // fallback font by that font's family and the style text. Null when no font at all
  // can be opened.
  static std::shared_ptr<TSimpleVectorText> Build(std::u16string_view fontName, uint8_t style,
                                                  const std::vector<std::u16string>& lines);

  // The glyph caches of the glyphs the text uses, one per font name with style (each
  // cache names its font name with style), for storing beside the text.
  std::vector<std::shared_ptr<const TGlyphCache>> GlyphCaches() const;

 protected:
  const TGlyphData* FindGlyph(const TGlyphPointer& pointer) const override;

 private:
  using TCaches = std::map<std::u16string, std::shared_ptr<TGlyphCache>, std::less<>>;
  TSimpleVectorText(TVectorTextData data, TCaches caches)
      : TVectorText(std::move(data)), FCaches(std::move(caches)) {}

  TCaches FCaches;
};

}  // namespace kiv
