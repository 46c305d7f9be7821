#pragma once
// A FreeType outline as the points of TFontPoint: font units, y pointing down.
//
// FreeType's contours hold on-curve points, quadratic ("conic") control points, between
// two of which an on-curve point is implied at their midpoint, and cubic control points
// in pairs; a contour that starts on a control point starts at the midpoint to the next
// control point, or at its last point when that is on the curve. Each contour comes out
// as a start (command 0), lines (1), quadratic pairs (2, 2) and cubic triples (3, 3, 3),
// and ends back on its start point: a contour that does not end there gets a closing
// line (or the closing curve its last control points ask for).
#include <ft2build.h>
#include FT_OUTLINE_H

#include <vector>

#include "platform/installed_fonts.h"

namespace kiv {

// The most points an outline may have; one with more (no real glyph comes near, a
// hostile font may) is read as blank.
inline constexpr int kMaxOutlinePoints = 16384;

// The outline's points; none for an empty, oversized or malformed outline.
std::vector<TFontPoint> OutlinePoints(const FT_Outline& outline);

}  // namespace kiv
