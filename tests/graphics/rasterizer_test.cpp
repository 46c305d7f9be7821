// Filling and stroking vector paths into pictures: coverage at the edges, fill rules,
// how a path is walked, curves, mapping, clipping at the picture's sides, and damaged
// paths, which must never bring the player down.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

#include "base/errors.h"
#include "graphics/outline.h"
#include "graphics/raster_helper.h"
#include "graphics/rasterizer.h"
#include "support/pixels.h"

namespace kiv {
namespace {

constexpr uint32_t kInk = 0xFF2040C0;

// The alphas of a picture, row by row, for comparing whole small pictures.
std::vector<std::vector<int>> Alphas(const TBitmap& picture) {
  std::vector<std::vector<int>> rows(size_t(picture.Height()));
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) rows[size_t(y)].push_back(AlphaAt(picture, x, y));
  return rows;
}

// The painted area in pixels, from the alphas of an opaque colour.
double PaintedArea(const TBitmap& picture) {
  double sum = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) sum += AlphaAt(picture, x, y);
  return sum / 255;
}

TPath Rectangle(float left, float top, float right, float bottom) {
  TPath path;
  path.MoveTo(left, top).LineTo(right, top).LineTo(right, bottom).LineTo(left, bottom);
  return path;
}

TPath Joined(TPath a, const TPath& b) {
  a.Points.insert(a.Points.end(), b.Points.begin(), b.Points.end());
  return a;
}

std::unique_ptr<TBitmap> Painted(const TPath& path, int width, int height, bool evenOdd = false,
                                 uint32_t colour = kInk) {
  TRasterHelper raster;
  raster.SetFillColour(colour);
  raster.BeginPaint(width, height);
  raster.FillPath(path, evenOdd);
  return raster.EndPaint();
}

TEST(Rasterizer, EdgeCoverageFollowsTheAreaInsideEachPixel) {
  // Aligned to the grid: one pixel of the colour itself; the rest is the colour, clear.
  auto aligned = Painted(Rectangle(1, 1, 2, 2), 4, 3);
  EXPECT_EQ(PixelAt(*aligned, 1, 1), kInk);
  EXPECT_EQ(PixelAt(*aligned, 0, 1), kInk & 0x00FFFFFF);
  EXPECT_EQ(PaintedArea(*aligned), 1);
  // Half a pixel to the right: two halves (128 of 256 coverage scales 255 down to 127).
  auto halves = Painted(Rectangle(1.5f, 1, 2.5f, 2), 4, 3);
  EXPECT_EQ(Alphas(*halves), (std::vector<std::vector<int>>{{0, 0, 0, 0}, {0, 127, 127, 0}, {0, 0, 0, 0}}));
  EXPECT_EQ(PixelAt(*halves, 1, 1) & 0x00FFFFFF, kInk & 0x00FFFFFF);
  // Half a pixel both ways: four quarters; a quarter pixel is exactly 4 × 4 sub-pixels.
  auto quarters = Painted(Rectangle(1.5f, 0.5f, 2.5f, 1.5f), 4, 3);
  EXPECT_EQ(Alphas(*quarters), (std::vector<std::vector<int>>{{0, 63, 63, 0}, {0, 63, 63, 0}, {0, 0, 0, 0}}));
  // A sixteenth of a pixel is the smallest step.
  auto sliver = Painted(Rectangle(0, 0, 1.0f / 16, 1), 2, 1);
  EXPECT_EQ(AlphaAt(*sliver, 0, 0), 15);  // 16 of 256
}

// The filling rule followed literally, sub-row by sub-row: the coverage (0 … 256) of
// each pixel of a width × height picture.
std::vector<int> ReferenceCoverage(const TOutline& outline, int width, int height) {
  std::vector<int> coverage(size_t(width) * size_t(height));
  const int clip = width * kSubPixels;
  for (int j = 0; j < height * kSubPixels; ++j) {
    std::vector<std::pair<int, int>> crossings;  // x, direction
    for (const TEdge& e : outline.Edges())
      if (e.Y <= j && j < e.Y + e.Height)
        crossings.emplace_back(int(std::round((j - e.Y + 0.5) * double(e.Slope))) + e.X, e.Direction);
    std::sort(crossings.begin(), crossings.end(), [](auto& a, auto& b) { return a.first < b.first; });
    int winding = 0, sign = 1, left = 0;
    for (const auto& [x, direction] : crossings) {
      if (winding == 0) sign = direction;
      const int turns = winding * sign;
      if (outline.EvenOdd() ? turns % 2 != 0 : turns > 0)
        for (int sub = std::max(left, 0); sub < std::min(x, clip); ++sub)
          ++coverage[size_t(j / kSubPixels) * size_t(width) + size_t(sub / kSubPixels)];
      if (x >= clip) break;
      left = x;
      winding += direction;
    }
  }
  return coverage;
}

TEST(Rasterizer, RandomShapesGetExactlyTheCoverageOfTheFillingRule) {
  // Star-shaped contours (as glyphs: rows whose edges keep their order) reaching past
  // every side, some drawn the other way round, some overlapping; some edges upright or
  // nearly so; every 20th on a picture wider than several 64-pixel words and taller
  // than a glyph at large sizes.
  std::mt19937 random(12345);
  TRasterizer rasterizer;
  for (int shape = 0; shape < 420; ++shape) {
    const bool large = shape % 20 == 19;
    const int width = 1 + int(random() % (large ? 300 : 70)), height = 1 + int(random() % (large ? 240 : 50));
    std::uniform_real_distribution<float> x(-4, float(width) + 4), y(-4, float(height) + 4), unit(0, 1);
    TOutline outline;
    outline.Reset(shape % 2 == 0);
    for (int contour = 0; contour <= shape % 3; ++contour) {
      const float cx = x(random), cy = y(random), radius = 1 + unit(random) * float(width + height) / 3;
      const int points = 3 + shape % 13;
      const float turn = (contour % 2 == 0 ? 2 : -2) * std::numbers::pi_v<float> / float(points);
      float px = 0;
      for (int point = 0; point < points; ++point) {
        const float r = radius * (0.3f + unit(random)), py = cy + r * std::sin(turn * float(point));
        px = point % 4 == 3 ? px + (unit(random) - 0.5f) / 8 : cx + r * std::cos(turn * float(point));
        if (point == 0)
          outline.MoveTo(px, py);
        else
          outline.LineTo(px, py);
      }
    }
    outline.Close();
    TBitmap picture(width, height, TPixelFormat::Bgra32);
    rasterizer.Fill(outline, picture, 0xFF000000);
    const std::vector<int> coverage = ReferenceCoverage(outline, width, height);
    for (int py = 0; py < height; ++py)
      for (int px = 0; px < width; ++px) {
        const int c = coverage[size_t(py) * size_t(width) + size_t(px)];
        ASSERT_EQ(AlphaAt(picture, px, py), c >= 256 ? 255 : c * 255 / 256)
            << "shape " << shape << " at " << px << ", " << py;
      }
  }
}

TEST(Rasterizer, TranslucentColourKeepsItsAlphaWhereCoverageIsFull) {
  auto picture = Painted(Rectangle(0, 0, 2, 2), 3, 3, false, 0x80FF0000);
  EXPECT_EQ(PixelAt(*picture, 1, 1), 0x80FF0000u);
  EXPECT_EQ(PixelAt(*picture, 2, 2), 0x00FF0000u);
}

TEST(Rasterizer, OverlapsFollowTheFillRule) {
  // Both squares drawn the same way round overlap in the middle pixel column.
  const TPath same = Joined(Rectangle(0, 0, 2, 1), Rectangle(1, 0, 3, 1));
  EXPECT_EQ(Alphas(*Painted(same, 3, 1, false)), (std::vector<std::vector<int>>{{255, 255, 255}}));
  EXPECT_EQ(Alphas(*Painted(same, 3, 1, true)), (std::vector<std::vector<int>>{{255, 0, 255}}));
  // The second square drawn the other way round cancels the overlap under either rule.
  TPath reversed;
  reversed.MoveTo(1, 0).LineTo(1, 1).LineTo(3, 1).LineTo(3, 0);
  const TPath opposite = Joined(Rectangle(0, 0, 2, 1), reversed);
  EXPECT_EQ(Alphas(*Painted(opposite, 3, 1, false)), (std::vector<std::vector<int>>{{255, 0, 255}}));
  EXPECT_EQ(Alphas(*Painted(opposite, 3, 1, true)), (std::vector<std::vector<int>>{{255, 0, 255}}));
  // A hole drawn inside: kept by even-odd, filled by non-zero when drawn the same way.
  const TPath ring = Joined(Rectangle(0, 0, 3, 3), Rectangle(1, 1, 2, 2));
  EXPECT_EQ(AlphaAt(*Painted(ring, 3, 3, true), 1, 1), 0);
  EXPECT_EQ(AlphaAt(*Painted(ring, 3, 3, false), 1, 1), 255);
}

TEST(Rasterizer, RowsApartAndSuccessiveFillsDoNotLeakCoverage) {
  // Two squares rows apart in one path: the empty rows between stay empty.
  auto apart = Painted(Joined(Rectangle(0, 0, 1, 1), Rectangle(1, 5, 2, 6)), 2, 7);
  EXPECT_EQ(PaintedArea(*apart), 2);
  EXPECT_EQ(AlphaAt(*apart, 0, 0), 255);
  EXPECT_EQ(AlphaAt(*apart, 1, 5), 255);
  // Each fill blends over what is there: a translucent square twice gets denser, and
  // a square elsewhere afterwards gets nothing from the first.
  TRasterHelper raster;
  raster.SetFillColour(0x80000000);
  raster.BeginPaint(4, 1);
  raster.FillPath(Rectangle(0, 0, 1, 1), false);
  raster.FillPath(Rectangle(0, 0, 1, 1), false);
  raster.FillPath(Rectangle(2, 0, 2.5f, 1), false);
  auto picture = raster.EndPaint();
  EXPECT_EQ(AlphaAt(*picture, 0, 0), 0xC0);
  EXPECT_EQ(AlphaAt(*picture, 1, 0), 0);
  EXPECT_EQ(AlphaAt(*picture, 2, 0), 64);
}

TEST(Rasterizer, PathWalkStartsWithAMoveAndDropsCutCurves) {
  TPath lineFirst;
  lineFirst.LineTo(0, 0).LineTo(4, 0).LineTo(4, 4).LineTo(0, 4);
  EXPECT_EQ(PaintedArea(*Painted(lineFirst, 4, 4)), 0);
  // A quadratic whose end point is missing: nothing is filled, not even the square before.
  TPath cutCurve = Rectangle(0, 0, 2, 2);
  cutCurve.Add(3, 3, kPathQuadratic);
  EXPECT_EQ(PaintedArea(*Painted(cutCurve, 4, 4)), 0);
  TPath cutCubic = Rectangle(0, 0, 2, 2);
  cutCubic.Add(3, 3, kPathCubic).Add(3, 1, kPathCubic);
  EXPECT_EQ(PaintedArea(*Painted(cutCubic, 4, 4)), 0);
  // After the end of a run a line ends the walk; what came before is filled.
  TPath afterRun = Rectangle(0, 0, 2, 2);
  afterRun.Add(0, 0, kPathEndRun).LineTo(4, 4).LineTo(0, 4);
  EXPECT_EQ(PaintedArea(*Painted(afterRun, 4, 4)), 4);
  // After the end of a run a move starts over.
  TPath twoRuns = Rectangle(0, 0, 1, 1);
  twoRuns.Add(0, 0, kPathEndRun);
  twoRuns = Joined(twoRuns, Rectangle(2, 2, 3, 3));
  EXPECT_EQ(PaintedArea(*Painted(twoRuns, 4, 4)), 2);
  // An open triangle is closed back to its start (a diagonal sampled at exactly half
  // sub-pixels rounds to one side: a little under its area).
  TPath triangle;
  triangle.MoveTo(0, 0).LineTo(4, 0).LineTo(0, 4);
  EXPECT_NEAR(PaintedArea(*Painted(triangle, 4, 4)), 8, 0.15);
}

// A circle of four cubic quarters.
TPath Circle(float cx, float cy, float r) {
  const float k = r * 0.5522847f;
  TPath path;
  path.MoveTo(cx + r, cy);
  path.CubicTo(cx + r, cy + k, cx + k, cy + r, cx, cy + r);
  path.CubicTo(cx - k, cy + r, cx - r, cy + k, cx - r, cy);
  path.CubicTo(cx - r, cy - k, cx - k, cy - r, cx, cy - r);
  path.CubicTo(cx + k, cy - r, cx + r, cy - k, cx + r, cy);
  return path;
}

TEST(Rasterizer, CurvesAreFlattenedCloseToTheirArea) {
  const double circleArea = std::numbers::pi * 40 * 40;
  EXPECT_NEAR(PaintedArea(*Painted(Circle(50, 50, 40), 100, 100)), circleArea, circleArea * 0.01);
  // Small circles too (their pieces are never longer than 2 pixels).
  const double small = std::numbers::pi * 3 * 3;
  EXPECT_NEAR(PaintedArea(*Painted(Circle(5, 5, 3), 10, 10)), small, small * 0.03);
  // A parabolic arch over a base of 80, rising 40: two thirds of the rectangle.
  TPath arch;
  arch.MoveTo(10, 80).QuadraticTo(50, 0, 90, 80);
  const double archArea = 2.0 / 3 * 80 * 40;
  EXPECT_NEAR(PaintedArea(*Painted(arch, 100, 100)), archArea, archArea * 0.01);
}

TEST(Rasterizer, PointsAreMappedByTheMatrixOrTheCallersMapping) {
  TRasterHelper raster;
  raster.SetMatrix({2, 0, 0, 2, 1, 0});  // twice the size, then one pixel right
  raster.BeginPaint(4, 3);
  raster.FillPath(Rectangle(0, 0, 1, 1), false);
  EXPECT_EQ(Alphas(*raster.EndPaint()),
            (std::vector<std::vector<int>>{{0, 255, 255, 0}, {0, 255, 255, 0}, {0, 0, 0, 0}}));
  // A multiplied matrix maps first: moved one down in the doubled scale is two down.
  raster.MultiplyMatrix({1, 0, 0, 1, 0, 1});
  EXPECT_EQ(raster.Matrix(), (TAffineMatrix{2, 0, 0, 2, 1, 2}));
  raster.BeginPaint(4, 3);
  raster.FillPath(Rectangle(0, 0, 1, 0.5f), false);
  EXPECT_EQ(Alphas(*raster.EndPaint()),
            (std::vector<std::vector<int>>{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 255, 255, 0}}));
  // The caller's mapping replaces the matrix; an empty one gives it back.
  raster.SetPointMapping([](TPointF p) { return TPointF{p.Y, p.X}; });
  raster.BeginPaint(4, 3);
  raster.FillPath(Rectangle(0, 0, 3, 1), false);
  EXPECT_EQ(Alphas(*raster.EndPaint()),
            (std::vector<std::vector<int>>{{255, 0, 0, 0}, {255, 0, 0, 0}, {255, 0, 0, 0}}));
  raster.SetPointMapping({});
  raster.SetMatrix({});
  raster.BeginPaint(4, 3);
  raster.FillPath(Rectangle(3, 2, 4, 3), false);
  EXPECT_EQ(AlphaAt(*raster.EndPaint(), 3, 2), 255);
}

TEST(Rasterizer, FillFunctionColoursEachPixel) {
  TRasterHelper raster;
  raster.SetFillFunction([](int x, int y) { return 0xFF000000u | uint32_t(x) << 16 | uint32_t(y); });
  raster.BeginPaint(3, 2);
  raster.FillPath(Rectangle(0, 0, 3, 2), false);
  auto picture = raster.EndPaint();
  EXPECT_EQ(PixelAt(*picture, 2, 1), 0xFF020001u);
  EXPECT_EQ(PixelAt(*picture, 1, 0), 0xFF010000u);
}

TEST(Rasterizer, PolygonsNeedTwoPoints) {
  TRasterHelper raster;
  raster.BeginPaint(4, 4);
  const TPointF triangle[] = {{0, 0}, {4, 0}, {4, 4}};
  raster.FillPolygon(triangle, 1, false);
  raster.FillPolygon(triangle, 2, false);  // a line has no area
  EXPECT_EQ(PaintedArea(*raster.EndPaint()), 0);
  raster.BeginPaint(4, 4);
  raster.FillPolygon(triangle, 3, false);
  auto picture = raster.EndPaint();
  EXPECT_NEAR(PaintedArea(*picture), 8, 0.15);
  EXPECT_EQ(AlphaAt(*picture, 3, 0), 255);
  EXPECT_EQ(AlphaAt(*picture, 0, 3), 0);
}

TEST(Rasterizer, StrokesAreBarsOfPenWidthAlongEachSegment) {
  TRasterHelper raster;
  raster.SetStroke(true);
  raster.SetPenWidth(2);
  raster.BeginPaint(12, 10);
  TPath line;
  line.MoveTo(1, 5).LineTo(9, 5);
  raster.FillPath(line, true);  // strokes always fill non-zero
  auto bar = raster.EndPaint();
  EXPECT_EQ(PaintedArea(*bar), 16);
  for (int x = 1; x < 9; ++x) {
    EXPECT_EQ(AlphaAt(*bar, x, 4), 255) << x;
    EXPECT_EQ(AlphaAt(*bar, x, 5), 255) << x;
  }
  // Each move strokes what came before on its own; a single point draws nothing.
  TPath two;
  two.MoveTo(2, 0).LineTo(2, 4).MoveTo(7, 7).MoveTo(10, 2).LineTo(10, 8).LineTo(10, 8);
  raster.BeginPaint(12, 10);
  raster.FillPath(two, false);
  auto columns = raster.EndPaint();
  EXPECT_EQ(PaintedArea(*columns), 8 + 12);
  EXPECT_EQ(AlphaAt(*columns, 1, 3), 255);
  EXPECT_EQ(AlphaAt(*columns, 9, 7), 255);
  EXPECT_EQ(AlphaAt(*columns, 11, 7), 0);
  EXPECT_EQ(AlphaAt(*columns, 7, 7), 0);
  // A stroked polygon goes round to its first point.
  const TPointF square[] = {{2, 2}, {8, 2}, {8, 8}, {2, 8}};
  raster.BeginPaint(12, 10);
  raster.FillPolygon(square, 4, false);
  auto frame = raster.EndPaint();
  EXPECT_EQ(AlphaAt(*frame, 2, 5), 255);
  EXPECT_EQ(AlphaAt(*frame, 5, 5), 0);
  // A pen too thin draws nothing.
  raster.SetPenWidth(0.0001f);
  raster.BeginPaint(12, 10);
  raster.FillPath(line, false);
  EXPECT_EQ(PaintedArea(*raster.EndPaint()), 0);
}

TEST(Rasterizer, ShapesAreClippedAtEverySideOfThePicture) {
  // Past the right and bottom sides.
  auto rightBottom = Painted(Rectangle(2.5f, 2, 40, 40), 4, 4);
  EXPECT_EQ(Alphas(*rightBottom),
            (std::vector<std::vector<int>>{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 127, 255}, {0, 0, 127, 255}}));
  // Past the left and top sides.
  auto leftTop = Painted(Rectangle(-30, -20.5f, 1.5f, 1), 4, 4);
  EXPECT_EQ(Alphas(*leftTop),
            (std::vector<std::vector<int>>{{255, 127, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}));
  // Wholly outside on any side, or across the whole picture.
  for (const TPath& outside : {Rectangle(-5, 0, -1, 4), Rectangle(5, 0, 9, 4), Rectangle(0, -5, 4, -1),
                               Rectangle(0, 4, 4, 9)})
    EXPECT_EQ(PaintedArea(*Painted(outside, 4, 4)), 0);
  EXPECT_EQ(PaintedArea(*Painted(Rectangle(-100, -100, 100, 100), 4, 4)), 16);
  // A slanted edge that starts left of the picture and crosses into it at y = 2: the
  // part inside is a triangle of 4 by 2.
  TPath slant;
  slant.MoveTo(-4, 0).LineTo(4, 4).LineTo(-4, 4);
  EXPECT_NEAR(PaintedArea(*Painted(slant, 4, 4)), 4, 0.1);
}

TEST(Rasterizer, DamagedPathsNeverBringThePlayerDown) {
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  constexpr float inf = std::numeric_limits<float>::infinity();
  constexpr float huge = std::numeric_limits<float>::max();
  TRasterHelper raster;
  raster.BeginPaint(8, 8);
  TPath unknown = Rectangle(0, 0, 8, 8);
  unknown.Add(1, 1, 7);
  try {
    raster.FillPath(unknown, false);
    ADD_FAILURE() << "an unknown command was accepted";
  } catch (const EKivError& error) {
    EXPECT_STREQ(error.what(), "Unknown Path Command");
  }
  // Painting goes on: the dropped shape left nothing behind.
  raster.FillPath(Rectangle(0, 0, 1, 1), false);
  EXPECT_TRUE(raster.Painting());
  auto picture = raster.EndPaint();
  EXPECT_EQ(PaintedArea(*picture), 1);

  TPath damaged;
  damaged.MoveTo(nan, 1).LineTo(5, nan).LineTo(inf, -inf).QuadraticTo(nan, nan, 3, 3);
  damaged.CubicTo(huge, -huge, inf, 2, nan, 4).LineTo(-1e30f, 1e30f).MoveTo(1e9f, -1e9f);
  damaged.CubicTo(-1e9f, 1e9f, 1e9f, 1e9f, -1e9f, -1e9f).QuadraticTo(-huge, huge, 2, 2);
  for (bool stroke : {false, true}) {
    raster.SetStroke(stroke);
    raster.BeginPaint(8, 8);
    raster.FillPath(damaged, false);
    raster.FillPath(damaged, true);
    auto result = raster.EndPaint();
    EXPECT_EQ(result->Width(), 8);
  }
  raster.SetStroke(false);
  // Huge coordinates are held far outside the picture: the shape still covers it.
  raster.BeginPaint(8, 8);
  raster.FillPath(Rectangle(-1e30f, -huge, huge, 1e30f), false);
  EXPECT_EQ(PaintedArea(*raster.EndPaint()), 64);
}

TEST(Rasterizer, PaintingMustBeBegunOnceAndEnded) {
  auto text = [](auto&& call) {
    try {
      call();
    } catch (const EAssertionFailed& failure) {
      return failure.Text();
    }
    return std::string("none");
  };
  TRasterHelper raster;
  EXPECT_EQ(text([&] { raster.EndPaint(); }), "No Previous Call of TRasterHelper.BeginPaint");
  EXPECT_EQ(text([&] { raster.BeginPaint(0, 5); }), "TRasterHelper.BeginPaint: W or H = 0");
  EXPECT_EQ(text([&] { raster.BeginPaint(5, 0); }), "TRasterHelper.BeginPaint: W or H = 0");
  EXPECT_EQ(text([&] { raster.BeginPaint(-1, 5); }), "Assertion failure");
  EXPECT_EQ(text([&] { raster.BeginPaint(kMaxPictureSide + 1, 1); }), "Assertion failure");
  EXPECT_FALSE(raster.Painting());
  raster.SetFillColour(0xFF123456);
  raster.BeginPaint(2, 2);
  EXPECT_EQ(text([&] { raster.BeginPaint(2, 2); }), "Previous TRasterHelper.BeginPaint not Closed");
  auto clear = raster.EndPaint();
  EXPECT_EQ(clear->Format(), TPixelFormat::Bgra32);
  EXPECT_EQ(PixelAt(*clear, 1, 1), 0x00123456u);
  EXPECT_EQ(text([&] { raster.EndPaint(); }), "No Previous Call of TRasterHelper.BeginPaint");
  raster.BeginPaint(3, 1, 0x80ABCDEF);
  EXPECT_EQ(PixelAt(*raster.EndPaint(), 2, 0), 0x80ABCDEFu);
  // Dropped while painting: the picture goes with it.
  auto abandoned = std::make_unique<TRasterHelper>();
  abandoned->BeginPaint(4, 4);
  abandoned.reset();
}

}  // namespace
}  // namespace kiv
