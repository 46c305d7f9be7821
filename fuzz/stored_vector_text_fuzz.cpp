// Feeds arbitrary bytes to the stored vector text reader. A text that reads must write
// back as the bytes it was read from, and is laid out and drawn (small enough ones) over
// a glyph cache of a few boxes named by every font name with style it uses.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/memory_stream.h"
#include "graphics/cached_vector_text.h"
#include "graphics/stored_vector_text.h"
#include "graphics/text_layout.h"
#include "graphics/text_producer.h"

namespace {

constexpr double kDrawBudget = 1 << 20;  // pixels
constexpr double kScale = 0.02;

std::shared_ptr<const kiv::TGlyphCache> Boxes(const std::u16string& font) {
  auto cache = std::make_shared<kiv::TGlyphCache>(font);
  for (uint16_t index = 0; index < 4; ++index) {
    kiv::TGlyphData glyph{index, 50, 400, 50, 600, 100 * index, 1000, {}};
    glyph.Outline.MoveTo(50, -600).LineTo(450, -600).LineTo(450, 100.0f * index).LineTo(50, 100.0f * index);
    cache->Add(std::move(glyph));
  }
  return cache;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kiv::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  std::optional<kiv::TVectorTextData> text = kiv::ReadStoredVectorText(stream);
  if (!text) return 0;

  kiv::TMemoryStream written;
  kiv::WriteStoredVectorText(written, *text);
  const std::vector<uint8_t>& bytes = written.Bytes();
  if (bytes.size() > size || std::memcmp(bytes.data(), data, bytes.size()) != 0) std::abort();

  kiv::TGlyphCacheMap caches;
  for (const kiv::TGlyphLine& line : text->Lines)
    for (const kiv::TGlyphPointer& glyph : line.Glyphs)
      if (!caches.contains(glyph.FontSpec)) caches.emplace(glyph.FontSpec, Boxes(glyph.FontSpec));
  const kiv::TCachedVectorText vector(std::move(*text), std::move(caches));
  const kiv::TTextLayout layout = kiv::LayoutText(vector, kScale, 50);
  const double area = (layout.Width + layout.LeftOverhang + layout.RightOverhang + 4) *
                      (layout.Height + layout.TopExtent + layout.BottomExtent + 4);
  if (!(area <= kDrawBudget)) return 0;
  kiv::TTextParams params;
  params.Size = kScale;
  params.Style = kiv::kFontUnderline | kiv::kFontStrikeOut;
  kiv::RenderVectorText(vector, params, 0xFF000000);
  return 0;
}
