// Glyphs filled per second at 12, 48 and 200 pixels per em: 75 glyphs of DejaVu Sans
// (letters, digits, punctuation) filled by our rasteriser, each into a fresh picture,
// and the same outlines at the same places filled by FreeType's anti-aliasing
// rasteriser into a fresh 8-bit gray bitmap. The ratio benchmark times both in the same
// run: ours ÷ FreeType in glyphs per second, so above 1 ours is the faster.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "graphics/raster_helper.h"
#include "platform/installed_fonts.h"
#include "support/font_file.h"

namespace kiv {
namespace {

constexpr char16_t kCharacters[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,;:!?&@%()-/";

struct TPlacedGlyph {
  TPath Path;            // font units, y down
  TAffineMatrix Matrix;  // to the picture's pixels
  int Width = 0, Height = 0;
  FT_Outline Outline{};  // already in the picture's 26.6 pixels, y up
};

// The glyphs at one size, each placed in its own picture with a pixel to spare.
class TGlyphSet {
 public:
  explicit TGlyphSet(double px) {
    const std::string file = InstalledFontFile("DejaVu Sans");
    const std::shared_ptr<TInstalledFont> font = TInstalledFont::Find(u"DejaVu Sans", 0);
    if (file.empty() || !font || FT_Init_FreeType(&FLibrary) != 0) return;
    FT_Face face = nullptr;
    if (FT_New_Face(FLibrary, file.c_str(), 0, &face) != 0) return;
    const double s = px / font->Metrics().UnitsPerEm;
    for (char16_t character : std::u16string_view(kCharacters)) {
      const FT_UInt index = FT_Get_Char_Index(face, character);
      const std::optional<TInstalledGlyph> glyph = font->Glyph(uint16_t(index));
      if (index == 0 || !glyph || glyph->Outline.empty() ||
          FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
        continue;
      const FT_Outline& source = face->glyph->outline;
      FT_BBox box;
      FT_Outline_Get_CBox(&source, &box);
      TPlacedGlyph& placed = FGlyphs.emplace_back();
      for (const TFontPoint& p : glyph->Outline) placed.Path.Add(p.X, p.Y, p.Command);
      const int dx = 1 - int(std::floor(box.xMin * s)), dy = 1 + int(std::ceil(box.yMax * s));
      placed.Width = int(std::ceil(box.xMax * s)) + dx + 1;
      placed.Height = dy - int(std::floor(box.yMin * s)) + 1;
      placed.Matrix = {float(s), 0, 0, float(s), float(dx), float(dy)};
      FT_Outline_New(FLibrary, FT_UInt(source.n_points), source.n_contours, &placed.Outline);
      FT_Outline_Copy(&source, &placed.Outline);
      const FT_Fixed scale = FT_Fixed(std::lround(s * 64 * 65536));
      const FT_Matrix matrix{scale, 0, 0, scale};
      FT_Outline_Transform(&placed.Outline, &matrix);
      FT_Outline_Translate(&placed.Outline, dx * 64, (placed.Height - dy) * 64);
    }
    FT_Done_Face(face);
  }
  ~TGlyphSet() {
    for (TPlacedGlyph& glyph : FGlyphs) FT_Outline_Done(FLibrary, &glyph.Outline);
    if (FLibrary) FT_Done_FreeType(FLibrary);
  }
  TGlyphSet(const TGlyphSet&) = delete;
  TGlyphSet& operator=(const TGlyphSet&) = delete;

  bool Empty() const { return FGlyphs.empty(); }
  int64_t Count() const { return int64_t(FGlyphs.size()); }

  void FillOurs(TRasterHelper& raster) const {
    for (const TPlacedGlyph& glyph : FGlyphs) {
      raster.SetMatrix(glyph.Matrix);
      raster.BeginPaint(glyph.Width, glyph.Height);
      raster.FillPath(glyph.Path, false);
      benchmark::DoNotOptimize(raster.EndPaint());
    }
  }

  void FillFreeType() const {
    for (const TPlacedGlyph& glyph : FGlyphs) {
      std::vector<unsigned char> gray(size_t(glyph.Width) * size_t(glyph.Height));
      FT_Bitmap bitmap{};
      bitmap.rows = unsigned(glyph.Height);
      bitmap.width = unsigned(glyph.Width);
      bitmap.pitch = glyph.Width;
      bitmap.buffer = gray.data();
      bitmap.num_grays = 256;
      bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
      // FreeType takes the outline as changeable but only reads it.
      FT_Outline_Get_Bitmap(FLibrary, const_cast<FT_Outline*>(&glyph.Outline), &bitmap);
      benchmark::DoNotOptimize(gray.data());
      benchmark::ClobberMemory();
    }
  }

 private:
  FT_Library FLibrary = nullptr;
  std::vector<TPlacedGlyph> FGlyphs;
};

void BM_GlyphFillOurs(benchmark::State& state) {
  const TGlyphSet glyphs(double(state.range(0)));
  if (glyphs.Empty()) return state.SkipWithError("DejaVu Sans is not installed");
  TRasterHelper raster;
  raster.SetFillColour(0xFF000000);
  for (auto _ : state) glyphs.FillOurs(raster);
  state.counters["glyphs/s"] = benchmark::Counter(double(state.iterations() * glyphs.Count()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GlyphFillOurs)->Arg(12)->Arg(48)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_GlyphFillFreeType(benchmark::State& state) {
  const TGlyphSet glyphs(double(state.range(0)));
  if (glyphs.Empty()) return state.SkipWithError("DejaVu Sans is not installed");
  for (auto _ : state) glyphs.FillFreeType();
  state.counters["glyphs/s"] = benchmark::Counter(double(state.iterations() * glyphs.Count()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GlyphFillFreeType)->Arg(12)->Arg(48)->Arg(200)->Unit(benchmark::kMicrosecond);

// Both in turn in each iteration; ratio = our glyphs per second ÷ FreeType's.
void BM_GlyphFillRatio(benchmark::State& state) {
  const TGlyphSet glyphs(double(state.range(0)));
  if (glyphs.Empty()) return state.SkipWithError("DejaVu Sans is not installed");
  TRasterHelper raster;
  raster.SetFillColour(0xFF000000);
  using TClock = std::chrono::steady_clock;
  TClock::duration ours{}, freeType{};
  for (auto _ : state) {
    const TClock::time_point start = TClock::now();
    glyphs.FillOurs(raster);
    const TClock::time_point middle = TClock::now();
    glyphs.FillFreeType();
    ours += middle - start;
    freeType += TClock::now() - middle;
  }
  state.counters["ratio"] = std::chrono::duration<double>(freeType).count() / std::chrono::duration<double>(ours).count();
}
BENCHMARK(BM_GlyphFillRatio)->Arg(12)->Arg(48)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kiv
