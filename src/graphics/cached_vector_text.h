#pragma once
// A vector text as the show stores it, drawn from the show's glyph caches.
#include <memory>
#include <string>
#include <unordered_map>

#include "graphics/vector_text.h"

namespace kiv {

using TGlyphCacheMap = std::unordered_map<std::u16string, std::shared_ptr<const TGlyphCache>>;

class TCachedVectorText : public TVectorText {
 public:
  // caches: the glyph cache of every font name with style the text's glyphs name.
  TCachedVectorText(TVectorTextData data, TGlyphCacheMap caches)
      : TVectorText(std::move(data)), FCaches(std::move(caches)) {}

 protected:
  // A glyph its cache lacks is logged once ("Glyph " + spec + " " + index + " not
  // found") and left out.
  const TGlyphData* FindGlyph(const TGlyphPointer& pointer) const override;

 private:
  TGlyphCacheMap FCaches;
};

}  // namespace kiv
