#pragma once
// A made-up font for text tests, independent of the fonts installed: 1000 units per em,
// ascent 800, descent 200, and two glyphs drawn as rectangles: 1, a box standing on the
// baseline (advance 600), and 2, a bar reaching below it (advance 500). Texts of it are
// stored in a show of named entries.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/memory_stream.h"
#include "graphics/font_cache.h"
#include "graphics/glyph_cache.h"
#include "graphics/stored_vector_text.h"
#include "graphics/text_params.h"

namespace kiv {

inline constexpr float kTestEm = 1000;
inline constexpr uint16_t kBoxGlyph = 1;  // ink x 0 … 500, y -500 … 0
inline constexpr uint16_t kBarGlyph = 2;  // ink x 100 … 400, y -300 … 200

inline TPath RectanglePath(float left, float top, float right, float bottom) {
  TPath path;
  path.MoveTo(left, top).LineTo(right, top).LineTo(right, bottom).LineTo(left, bottom);
  return path;
}

// captureSize: the size the outlines are given at (a capture of 2000 has them twice as
// large, to be scaled back by the glyph pointers' 1000).
inline TGlyphCache TestGlyphCache(const std::u16string& spec, float captureSize = kTestEm) {
  const float f = captureSize / kTestEm;
  auto scaled = [f](int32_t v) { return int32_t(float(v) * f); };
  TGlyphCache cache(spec);
  cache.Add({kBoxGlyph, 0, scaled(500), scaled(100), scaled(500), 0, captureSize,
             RectanglePath(0, -500 * f, 500 * f, 0)});
  cache.Add({kBarGlyph, scaled(100), scaled(300), scaled(100), scaled(300), scaled(200), captureSize,
             RectanglePath(100 * f, -300 * f, 400 * f, 200 * f)});
  return cache;
}

inline TFontMetrics TestFontMetrics() { return {800, 200, -100, 50, 300, 50}; }

// Lines of glyphs, each glyph at the pen where the glyphs before it end.
inline TVectorTextData TestTextData(const std::vector<std::vector<uint16_t>>& lines,
                                    const std::u16string& spec = u"Boxes:") {
  TVectorTextData data{TestFontMetrics(), {}};
  for (const std::vector<uint16_t>& glyphs : lines) {
    TGlyphLine& line = data.Lines.emplace_back();
    int32_t pen = 0;
    for (uint16_t index : glyphs) {
      line.Glyphs.push_back({pen, kTestEm, index, spec});
      pen += index == kBoxGlyph ? 600 : 500;
    }
  }
  return data;
}

template <typename Write, typename Value>
std::vector<uint8_t> StoredBytes(Write write, const Value& value) {
  TMemoryStream stream;
  write(stream, value);
  return stream.Bytes();
}

// A show's entries by exact name.
class TTestShow {
 public:
  void Put(const std::u16string& name, std::vector<uint8_t> bytes) { FEntries[name] = std::move(bytes); }
  void PutText(const std::u16string& name, const TVectorTextData& data) {
    Put(name, StoredBytes([](TStream& s, const TVectorTextData& d) { WriteStoredVectorText(s, d); }, data));
  }
  void PutCache(const TGlyphCache& cache) {
    Put(GlyphCacheName(cache.FontSpec()), StoredBytes(WriteGlyphCache, cache));
  }
  int Opened(const std::u16string& name) const {
    const auto found = FOpened.find(name);
    return found == FOpened.end() ? 0 : found->second;
  }
  TShowFileOpener Opener() {
    return [this](std::u16string_view name) -> std::unique_ptr<TStream> {
      ++FOpened[std::u16string(name)];
      const auto found = FEntries.find(std::u16string(name));
      return found == FEntries.end() ? nullptr : std::make_unique<TMemoryStream>(found->second);
    };
  }

 private:
  std::map<std::u16string, std::vector<uint8_t>> FEntries;
  std::map<std::u16string, int> FOpened;
};

}  // namespace kiv
