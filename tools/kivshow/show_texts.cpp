#include "kivshow/show_texts.h"

#include <map>
#include <set>

#include "base/memory_stream.h"
#include "container/kiv_pack.h"
#include "graphics/simple_vector_text.h"
#include "graphics/stored_vector_text.h"
#include "graphics/text_params.h"
#include "model/kiv_button.h"
#include "model/kiv_slide.h"
#include "model/kiv_source.h"
#include "model/kiv_text.h"
#include "model/slide_producer.h"
#include "model/standard_object_kinds.h"

namespace kiv {

namespace {

class TTextCollector {
 public:
  void Collect(TKivObject& parent) {
    for (const std::unique_ptr<TKivObject>& child : parent.Children()) {
      if (auto* text = dynamic_cast<TKivText*>(child.get())) {
        const TTextKeys& keys = text->TextKeys();
        if (!keys.Empty && !(keys.Rasterize && !keys.RasterizedGUID.empty()))
          Add({keys.FontName, keys.FontStyle, text->ExpandedLines()});
      }
      if (auto* button = dynamic_cast<TKivButton*>(child.get()))
        if (const std::optional<TTextKeys>& caption = button->ButtonKeys().Caption)
          Add({caption->FontName, caption->FontStyle, caption->Lines});
      Collect(*child);
    }
  }
  std::vector<TShowText> Texts;

 private:
  void Add(TShowText text) {
    TTextParams params;
    params.FontName = text.FontName;
    params.Style = text.Style;
    params.Lines = text.Lines;
    if (FNames.insert(StoredVectorTextName(params)).second) Texts.push_back(std::move(text));
  }
  std::set<std::u16string> FNames;
};

std::vector<uint8_t> BytesOf(const std::function<void(TStream&)>& write) {
  TMemoryStream stream;
  write(stream);
  return stream.Bytes();
}

}  // namespace

std::vector<TShowText> ShowTexts(TKivSource& source) {
  TSlideProducer producer(source, StandardObjectKinds(), InstallStandardPictureProviders);
  producer.SetOutput(ReadShowDesign(source.MainSection()).Size, TSlideFit::Inside, 100, 100);
  TTextCollector collector;
  for (int index = 0; index < source.SlideCount(); ++index)
    if (std::unique_ptr<TKivSlide> slide = producer.MakeSlide(index)) collector.Collect(*slide);
  return std::move(collector.Texts);
}

TStoredTexts StoreShowTexts(TKivPack& pack, const std::vector<TShowText>& texts, TPackMode mode) {
  TStoredTexts stored;
  std::map<std::u16string, TGlyphCache> fonts;  // by font name with style
  for (const TShowText& text : texts) {
    TTextParams params;
    params.FontName = text.FontName;
    params.Style = text.Style;
    params.Lines = text.Lines;
    const std::u16string name = StoredVectorTextName(params);
    if (pack.HasEntry(name)) continue;
    const std::shared_ptr<TSimpleVectorText> built = TSimpleVectorText::Build(text.FontName, text.Style, text.Lines);
    if (!built) continue;
    pack.AddBytes(name, BytesOf([&built](TStream& stream) { WriteStoredVectorText(stream, *built); }), mode);
    ++stored.Texts;
    for (const std::shared_ptr<const TGlyphCache>& cache : built->GlyphCaches()) {
      TGlyphCache& font = fonts.try_emplace(cache->FontSpec(), cache->FontSpec()).first->second;
      for (const TGlyphData& glyph : cache->Glyphs()) font.Add(glyph);
    }
  }
  for (const auto& [spec, cache] : fonts) {
    const std::u16string name = GlyphCacheName(spec);
    if (pack.HasEntry(name)) continue;
    pack.AddBytes(name, BytesOf([&cache](TStream& stream) { WriteGlyphCache(stream, cache); }), mode);
    ++stored.Fonts;
  }
  return stored;
}

}  // namespace kiv
