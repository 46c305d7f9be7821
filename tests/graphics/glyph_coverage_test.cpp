// Glyph outlines of an installed font filled by our rasteriser, held against FreeType's
// own anti-aliasing rasteriser filling the very same outline at the same place. Both
// give each pixel the share of its area inside the glyph; they may differ by how each
// approximates it, which sets the limits below:
// - ours rounds every point to 1/16 pixel and every sub-row's edge crossing to 1/16
//   pixel: up to about 24 levels on a slanted edge;
// - FreeType cuts curves into lines up to 1/16 pixel off the curve: up to about 22 levels
//   against a 16-times supersampled rendering;
// - ours draws every piece of a curve whose ends are less than 2 pixels apart as a
//   straight line, which at 12 pixels per em cuts the corners of the tight curves by up
//   to a third of a pixel and may shift a small glyph's ink by several percent.
// A shape mapped half a pixel off, upside down or with a hole filled is far outside them.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "graphics/raster_helper.h"
#include "platform/installed_fonts.h"
#include "support/font_file.h"
#include "support/pixels.h"

namespace kiv {
namespace {

constexpr char kFamily[] = "DejaVu Sans";
constexpr int kMargin = 2;  // clear pixels round the ink

class TFreeTypeFace {
 public:
  explicit TFreeTypeFace(const std::string& file) {
    if (FT_Init_FreeType(&FLibrary) != 0) FLibrary = nullptr;
    if (FLibrary && FT_New_Face(FLibrary, file.c_str(), 0, &FFace) != 0) FFace = nullptr;
  }
  ~TFreeTypeFace() {
    if (FFace) FT_Done_Face(FFace);
    if (FLibrary) FT_Done_FreeType(FLibrary);
  }
  TFreeTypeFace(const TFreeTypeFace&) = delete;
  TFreeTypeFace& operator=(const TFreeTypeFace&) = delete;
  FT_Face Face() const { return FFace; }

 private:
  FT_Library FLibrary = nullptr;
  FT_Face FFace = nullptr;
};

struct TDifference {
  double Mean = 0;  // over the pixels either rasteriser touched, of 255
  int Max = 0;      // of 255
  double InkOurs = 0, InkFreeType = 0;  // the summed alphas, in pixels
};

// The glyph filled at px pixels per em by both rasterisers, the top left of its ink box
// placed kMargin pixels in from the picture's corner (rounded to whole pixels).
TDifference Compare(const TInstalledFont& font, FT_Face face, uint16_t index, double px) {
  const std::optional<TInstalledGlyph> glyph = font.Glyph(index);
  EXPECT_TRUE(glyph && !glyph->Outline.empty());
  if (!glyph || glyph->Outline.empty()) return {};
  EXPECT_EQ(FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP), 0);
  FT_Outline& outline = face->glyph->outline;
  FT_BBox box;  // font units, y up
  FT_Outline_Get_CBox(&outline, &box);
  const double s = px / font.Metrics().UnitsPerEm;
  const int dx = kMargin - int(std::floor(box.xMin * s)), dy = kMargin + int(std::ceil(box.yMax * s));
  const int width = int(std::ceil(box.xMax * s)) + dx + kMargin;
  const int height = dy - int(std::floor(box.yMin * s)) + kMargin;

  TPath path;
  for (const TFontPoint& p : glyph->Outline) path.Add(p.X, p.Y, p.Command);
  TRasterHelper raster;
  raster.SetFillColour(0xFF000000);
  raster.SetMatrix({float(s), 0, 0, float(s), float(dx), float(dy)});
  raster.BeginPaint(width, height);
  raster.FillPath(path, false);
  const std::unique_ptr<TBitmap> ours = raster.EndPaint();

  // FreeType's bitmap has y up from its bottom edge, so the font's y (up) needs no flip:
  // it lands at height - dy + y·s. The 16.16 matrix turns font units into 26.6 pixels.
  const FT_Fixed scale = FT_Fixed(std::lround(s * 64 * 65536));
  const FT_Matrix matrix{scale, 0, 0, scale};
  FT_Outline_Transform(&outline, &matrix);
  FT_Outline_Translate(&outline, dx * 64, (height - dy) * 64);
  std::vector<unsigned char> gray(size_t(width) * size_t(height));
  FT_Bitmap bitmap{};
  bitmap.rows = unsigned(height);
  bitmap.width = unsigned(width);
  bitmap.pitch = width;
  bitmap.buffer = gray.data();
  bitmap.num_grays = 256;
  bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
  EXPECT_EQ(FT_Outline_Get_Bitmap(face->glyph->library, &outline, &bitmap), 0);

  TDifference difference;
  int touched = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int a = AlphaAt(*ours, x, y), b = gray[size_t(y) * size_t(width) + size_t(x)];
      difference.InkOurs += a / 255.0;
      difference.InkFreeType += b / 255.0;
      if (a == 0 && b == 0) continue;
      ++touched;
      difference.Mean += std::abs(a - b);
      difference.Max = std::max(difference.Max, std::abs(a - b));
    }
  if (touched > 0) difference.Mean /= touched;
  return difference;
}

TEST(GlyphCoverage, MatchesFreeTypesRasteriserOnTheSameOutlines) {
  const std::string file = InstalledFontFile(kFamily);
  const std::shared_ptr<TInstalledFont> font = TInstalledFont::Find(u"DejaVu Sans", 0);
  if (file.empty() || !font || font->Family() != u"DejaVu Sans") GTEST_SKIP() << kFamily << " is not installed";
  const TFreeTypeFace freeType(file);
  ASSERT_NE(freeType.Face(), nullptr) << file;

  // Measured (mean, max, ink) at 12 px: up to 13.2, 55, 7 %; 48 px: 3.4, 33, 0.6 %;
  // 200 px: 1.2, 38, 0.3 %.
  struct TSize {
    double Px;
    double Mean;
    int Max;
    double Ink;  // the share the inks may differ by
  };
  for (const TSize& size : {TSize{12, 16, 64, 0.1}, TSize{48, 4, 48, 0.01}, TSize{200, 2, 48, 0.005}})
    for (char32_t character : std::u32string_view(U"g@W\u00E9&Q8%ilo")) {
      const uint16_t index = uint16_t(FT_Get_Char_Index(freeType.Face(), character));
      ASSERT_NE(index, 0) << "character " << uint32_t(character);
      SCOPED_TRACE(testing::Message() << size.Px << " px, character U+" << std::hex << uint32_t(character));
      const TDifference d = Compare(*font, freeType.Face(), index, size.Px);
      EXPECT_LE(d.Mean, size.Mean);
      EXPECT_LE(d.Max, size.Max);
      EXPECT_NEAR(d.InkOurs, d.InkFreeType, size.Ink * d.InkFreeType);
    }
}

}  // namespace
}  // namespace kiv
