#include "platform/outline_points.h"

namespace kiv {

namespace {

struct TOutlineWalk {
  std::vector<TFontPoint> Points;
  size_t ContourStart = 0;
  FT_Vector Pen{};

  void Add(const FT_Vector* point, int32_t command) {
    Points.push_back({float(point->x), -float(point->y), command});
  }
  // A contour that is only its start point draws nothing.
  void DropLoneStart() {
    if (Points.size() == ContourStart + 1) Points.pop_back();
  }
};

TOutlineWalk& Walk(void* user) { return *static_cast<TOutlineWalk*>(user); }

int MoveTo(const FT_Vector* to, void* user) {
  TOutlineWalk& walk = Walk(user);
  walk.DropLoneStart();
  walk.ContourStart = walk.Points.size();
  walk.Add(to, 0);
  walk.Pen = *to;
  return 0;
}

int LineTo(const FT_Vector* to, void* user) {
  TOutlineWalk& walk = Walk(user);
  // FreeType closes every contour with a line to its start, even one that already ends
  // there.
  if (to->x == walk.Pen.x && to->y == walk.Pen.y) return 0;
  walk.Add(to, 1);
  walk.Pen = *to;
  return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  TOutlineWalk& walk = Walk(user);
  walk.Add(control, 2);
  walk.Add(to, 2);
  walk.Pen = *to;
  return 0;
}

int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
  TOutlineWalk& walk = Walk(user);
  walk.Add(control1, 3);
  walk.Add(control2, 3);
  walk.Add(to, 3);
  walk.Pen = *to;
  return 0;
}

}  // namespace

std::vector<TFontPoint> OutlinePoints(const FT_Outline& outline) {
  if (outline.n_points <= 0 || outline.n_contours <= 0 || outline.n_points > kMaxOutlinePoints) return {};
  // FreeType checks the contour ends as it walks, but a hostile font is not trusted to
  // have them rising and inside the points.
  int previousEnd = -1;
  for (int n = 0; n < outline.n_contours; ++n) {
    const int end = outline.contours[n];
    if (end <= previousEnd || end >= outline.n_points) return {};
    previousEnd = end;
  }
  static const FT_Outline_Funcs funcs = {MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
  TOutlineWalk walk;
  walk.Points.reserve(size_t(outline.n_points) * 2 + size_t(outline.n_contours) * 2);
  if (FT_Outline_Decompose(const_cast<FT_Outline*>(&outline), &funcs, &walk) != 0) return {};
  walk.DropLoneStart();
  return std::move(walk.Points);
}

}  // namespace kiv
