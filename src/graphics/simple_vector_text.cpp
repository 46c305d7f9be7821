#include "graphics/simple_vector_text.h"

#include "graphics/text_params.h"
#include "platform/installed_fonts.h"

namespace kiv {

namespace {

TGlyphData GlyphRecord(const TInstalledFont& font, uint16_t index) {
  TGlyphData record;
  record.Index = index;
  record.CaptureSize = float(font.Metrics().UnitsPerEm);
  if (const std::optional<TInstalledGlyph> glyph = font.Glyph(index)) {
    record.A = glyph->A;
    record.B = glyph->B;
    record.C = glyph->C;
    record.Above = glyph->Above;
    record.Below = glyph->Below;
    record.Outline.Points.reserve(glyph->Outline.size());
    for (const TFontPoint& p : glyph->Outline) record.Outline.Add(p.X, p.Y, p.Command);
  }
  return record;
}

}  // namespace

std::shared_ptr<TSimpleVectorText> TSimpleVectorText::Build(std::u16string_view fontName, uint8_t style,
                                                            const std::vector<std::u16string>& lines) {
  const std::shared_ptr<TInstalledFont> font =
      TInstalledFont::Find(fontName, style & (kInstalledBold | kInstalledItalic));
  if (!font) return nullptr;
  const TInstalledFontMetrics& metrics = font->Metrics();
  const std::u16string ownSpec = FontSpecText(fontName, style);

  TVectorTextData data;
  data.Metrics = {metrics.Ascent,        metrics.Descent,           metrics.UnderlinePosition,
                  metrics.UnderlineSize, metrics.StrikeoutPosition, metrics.StrikeoutSize};
  TCaches caches;
  for (const std::u16string& text : lines) {
    TGlyphLine& line = data.Lines.emplace_back();
    for (const TShapedGlyph& shaped : font->ShapeLine(text)) {
      const TInstalledFont& source = shaped.Font ? *shaped.Font : *font;
      // The shaper may hand out the requested font as an object of its own.
      const bool own = &source == font.get() || (source.Family() == font->Family() && source.Style() == font->Style());
      const std::u16string spec = own ? ownSpec : FontSpecText(source.Family(), style);
      line.Glyphs.push_back({shaped.PenX, float(metrics.UnitsPerEm), shaped.Index, spec});
      std::shared_ptr<TGlyphCache>& cache = caches[spec];
      if (!cache) cache = std::make_shared<TGlyphCache>(spec);
      if (!cache->Find(shaped.Index)) cache->Add(GlyphRecord(source, shaped.Index));
    }
  }
  return std::shared_ptr<TSimpleVectorText>(new TSimpleVectorText(std::move(data), std::move(caches)));
}

std::vector<std::shared_ptr<const TGlyphCache>> TSimpleVectorText::GlyphCaches() const {
  std::vector<std::shared_ptr<const TGlyphCache>> all;
  for (const auto& [spec, cache] : FCaches) all.push_back(cache);
  return all;
}

const TGlyphData* TSimpleVectorText::FindGlyph(const TGlyphPointer& pointer) const {
  const auto cache = FCaches.find(pointer.FontSpec);
  return cache == FCaches.end() ? nullptr : cache->second->Find(pointer.Index);
}

}  // namespace kiv
