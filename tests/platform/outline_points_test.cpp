#include "platform/outline_points.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

namespace kiv {
namespace {

using TContourEnd = std::remove_pointer_t<decltype(FT_Outline::contours)>;
using TTag = std::remove_pointer_t<decltype(FT_Outline::tags)>;

struct TPointSpec {
  FT_Pos X, Y;
  char Tag;  // 'o' on the curve, 'q' quadratic control, 'c' cubic control
};

// Decomposes contours made of point specs (y up, as FreeType's).
std::vector<TFontPoint> Decompose(const std::vector<std::vector<TPointSpec>>& contours) {
  std::vector<FT_Vector> points;
  std::vector<TTag> tags;
  std::vector<TContourEnd> ends;
  for (const auto& contour : contours) {
    for (const TPointSpec& spec : contour) {
      points.push_back({spec.X, spec.Y});
      const int tag = spec.Tag == 'o' ? FT_CURVE_TAG_ON : spec.Tag == 'q' ? FT_CURVE_TAG_CONIC : FT_CURVE_TAG_CUBIC;
      tags.push_back(TTag(tag));
    }
    ends.push_back(TContourEnd(points.size() - 1));
  }
  FT_Outline outline{};
  outline.n_points = decltype(outline.n_points)(points.size());
  outline.n_contours = decltype(outline.n_contours)(ends.size());
  outline.points = points.data();
  outline.tags = tags.data();
  outline.contours = ends.data();
  return OutlinePoints(outline);
}

TEST(OutlinePoints, FollowsFreeTypesContourRules) {
  struct TCase {
    const char* Name;
    std::vector<std::vector<TPointSpec>> Contours;
    std::vector<TFontPoint> Expected;
  } cases[] = {
      {"a triangle of lines is closed by a line back to its start",
       {{{0, 0, 'o'}, {100, 0, 'o'}, {0, 100, 'o'}}},
       {{0, 0, 0}, {100, 0, 1}, {0, -100, 1}, {0, 0, 1}}},
      {"a contour ending on its start point gets no empty closing line",
       {{{0, 0, 'o'}, {100, 0, 'o'}, {0, 0, 'o'}}},
       {{0, 0, 0}, {100, 0, 1}, {0, 0, 1}}},
      {"starting on a control point after a control point starts at their midpoint; two "
       "controls in a row have their midpoint on the curve",
       {{{0, 0, 'q'}, {100, 0, 'q'}, {100, 100, 'o'}, {0, 100, 'q'}}},
       {{0, -50, 0}, {0, 0, 2}, {50, 0, 2}, {100, 0, 2}, {100, -100, 2}, {0, -100, 2}, {0, -50, 2}}},
      {"starting on a control point after an on-curve point starts at that point",
       {{{50, 0, 'q'}, {100, 100, 'o'}, {0, 100, 'o'}}},
       {{0, -100, 0}, {50, 0, 2}, {100, -100, 2}, {0, -100, 1}}},
      {"cubic controls come in pairs",
       {{{0, 0, 'o'}, {10, 20, 'c'}, {30, 20, 'c'}, {40, 0, 'o'}, {30, -20, 'c'}, {10, -20, 'c'}}},
       {{0, 0, 0}, {10, -20, 3}, {30, -20, 3}, {40, 0, 3}, {30, 20, 3}, {10, 20, 3}, {0, 0, 3}}},
      {"a contour of one point draws nothing; the next contour still comes",
       {{{5, 5, 'o'}}, {{0, 0, 'o'}, {10, 0, 'o'}, {0, 10, 'o'}}},
       {{0, 0, 0}, {10, 0, 1}, {0, -10, 1}, {0, 0, 1}}},
      {"a contour starting with a lone cubic control is malformed", {{{0, 0, 'c'}, {10, 0, 'o'}}}, {}},
  };
  for (const TCase& test : cases) EXPECT_EQ(Decompose(test.Contours), test.Expected) << test.Name;
}

TEST(OutlinePoints, RefusesHostileOutlines) {
  // Contour ends that do not rise, or point past the points.
  FT_Vector points[3] = {{0, 0}, {10, 0}, {0, 10}};
  TTag tags[3] = {FT_CURVE_TAG_ON, FT_CURVE_TAG_ON, FT_CURVE_TAG_ON};
  TContourEnd ends[2] = {2, 1};
  FT_Outline outline{};
  outline.n_points = 3;
  outline.n_contours = 2;
  outline.points = points;
  outline.tags = tags;
  outline.contours = ends;
  EXPECT_TRUE(OutlinePoints(outline).empty());
  ends[0] = 5;
  outline.n_contours = 1;
  EXPECT_TRUE(OutlinePoints(outline).empty());

  // More points than any glyph has.
  std::vector<FT_Vector> many(kMaxOutlinePoints + 1, FT_Vector{1, 1});
  std::vector<TTag> manyTags(many.size(), FT_CURVE_TAG_ON);
  TContourEnd end = TContourEnd(many.size() - 1);
  outline.n_points = decltype(outline.n_points)(many.size());
  outline.points = many.data();
  outline.tags = manyTags.data();
  outline.contours = &end;
  EXPECT_TRUE(OutlinePoints(outline).empty());
}

}  // namespace
}  // namespace kiv
