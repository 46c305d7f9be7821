#pragma once
// A vector shape as an ordered list of points, each with the command that says how it
// joins the point before: glyph outlines, underline bars, drawn shapes.
#include <cstdint>
#include <vector>

#include "base/rect.h"

namespace kiv {

enum TPathCommand : int32_t {
  kPathMove = 0,       // starts a contour
  kPathLine = 1,       // a straight line from the previous point
  kPathQuadratic = 2,  // two points in a row: control point, then end point
  kPathCubic = 3,      // three points in a row: two control points, then end point
  kPathEndRun = 9,     // ends a run: the next point must be a move
};

struct TPathPoint {
  float X = 0;
  float Y = 0;
  int32_t Command = kPathMove;  // a TPathCommand; other values come from damaged data
  bool operator==(const TPathPoint&) const = default;
};

struct TPath {
  std::vector<TPathPoint> Points;

  TPath& MoveTo(float x, float y) { return Add(x, y, kPathMove); }
  TPath& LineTo(float x, float y) { return Add(x, y, kPathLine); }
  TPath& QuadraticTo(float cx, float cy, float x, float y) {
    return Add(cx, cy, kPathQuadratic).Add(x, y, kPathQuadratic);
  }
  TPath& CubicTo(float c1x, float c1y, float c2x, float c2y, float x, float y) {
    return Add(c1x, c1y, kPathCubic).Add(c2x, c2y, kPathCubic).Add(x, y, kPathCubic);
  }
  TPath& Add(float x, float y, int32_t command) {
    Points.push_back({x, y, command});
    return *this;
  }
};

}  // namespace kiv
