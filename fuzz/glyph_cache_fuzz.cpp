// Feeds arbitrary bytes to the glyph cache reader. A cache that reads must read again
// from what it writes, with the same glyphs, and every outline it keeps is filled into
// a small picture.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/memory_stream.h"
#include "graphics/glyph_cache.h"
#include "graphics/raster_helper.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kiv::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  const std::optional<kiv::TGlyphCache> cache = kiv::ReadGlyphCache(stream);
  if (!cache) return 0;

  kiv::TMemoryStream written;
  kiv::WriteGlyphCache(written, *cache);
  written.SetPosition(0);
  const std::optional<kiv::TGlyphCache> again = kiv::ReadGlyphCache(written);
  if (!again || again->FontSpec() != cache->FontSpec() || again->Glyphs().size() != cache->Glyphs().size())
    std::abort();
  for (const kiv::TGlyphData& glyph : cache->Glyphs()) {
    const kiv::TGlyphData* read = again->Find(glyph.Index);
    if (!read || read->Outline.Points != glyph.Outline.Points) std::abort();
  }

  kiv::TRasterHelper raster;
  raster.SetMatrix({0.02f, 0, 0, 0.02f, 16, 48});
  raster.BeginPaint(64, 64);
  for (const kiv::TGlyphData& glyph : cache->Glyphs()) raster.FillPath(glyph.Outline, false);
  raster.EndPaint();
  return 0;
}
