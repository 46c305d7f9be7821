#pragma once
// A textured quad as a 4 x 4 grid of vertices: the inner four are the quad's corners, the
// outer ring lies outside the edges that are to be softened and carries the corner
// colours with alpha 0, so those edges fade out over the ring. Where an edge is not
// softened the ring collapses onto the quad and its triangles vanish.
#include <array>
#include <cstdint>

#include "render/device/geometry_3d.h"
#include "render/device/vertex_3d.h"

namespace kiv {

// Corners: top-left, top-right, bottom-left, bottom-right. Edges: left, top, right, bottom.
using TCornerColours = std::array<uint32_t, 4>;
using TEdgeMask = std::array<uint8_t, 4>;

struct TGridVertex {
  TVector3 Point;
  TTexCoord Texel;
  uint32_t Colour = 0;
};

// The quad origin + s * xAxis + t * yAxis for s, t in 0..1, showing texels of a texture;
// ring: how far outside each edge (left, top, right, bottom) the ring lies, as a fraction
// of the axis across that edge; 0 for no ring.
std::array<TGridVertex, 16> BuildNineGrid(const TVector3& origin, const TVector3& xAxis, const TVector3& yAxis,
                                          const TRectF& texels, const TCornerColours& colours,
                                          const std::array<float, 4>& ring);

// The 18 triangles of the grid, as vertex numbers (row by row, 0 to 3 the top row).
extern const std::array<std::array<uint8_t, 3>, 18> kNineGridTriangles;
// The two triangles of the quad itself among them.
inline constexpr int kCentreTriangleFirst = 8;

}  // namespace kiv
