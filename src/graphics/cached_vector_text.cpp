#include "graphics/cached_vector_text.h"

#include "base/text.h"
#include "graphics/font_cache.h"

namespace kiv {

const TGlyphData* TCachedVectorText::FindGlyph(const TGlyphPointer& pointer) const {
  const auto cache = FCaches.find(pointer.FontSpec);
  const TGlyphData* glyph = cache == FCaches.end() ? nullptr : cache->second->Find(pointer.Index);
  if (!glyph) LogTextFaultOnce(u"Glyph " + pointer.FontSpec + u" " + IntToText(pointer.Index) + u" not found");
  return glyph;
}

}  // namespace kiv
