#include "render/screen/nine_grid.h"

#include <algorithm>

namespace kiv {

const std::array<std::array<uint8_t, 3>, 18> kNineGridTriangles = {{
    {4, 0, 5}, {5, 0, 1}, {5, 1, 6}, {6, 1, 2}, {6, 2, 3}, {3, 6, 7},
    {8, 4, 9}, {9, 4, 5}, {9, 5, 10}, {10, 5, 6}, {10, 6, 11}, {11, 6, 7},
    {12, 8, 9}, {9, 12, 13}, {13, 9, 14}, {14, 9, 10}, {14, 10, 15}, {15, 10, 11},
}};

std::array<TGridVertex, 16> BuildNineGrid(const TVector3& origin, const TVector3& xAxis, const TVector3& yAxis,
                                          const TRectF& texels, const TCornerColours& colours,
                                          const std::array<float, 4>& ring) {
  const std::array<float, 4> across = {-ring[0], 0, 1, 1 + ring[2]};
  const std::array<float, 4> down = {-ring[1], 0, 1, 1 + ring[3]};
  std::array<TGridVertex, 16> grid;
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) {
      TGridVertex& vertex = grid[size_t(4 * row + column)];
      const float s = across[size_t(column)];
      const float t = down[size_t(row)];
      vertex.Point = origin + xAxis * s + yAxis * t;
      // The ring shows the edge texels of the quad.
      const float u = std::clamp(s, 0.0f, 1.0f);
      const float v = std::clamp(t, 0.0f, 1.0f);
      vertex.Texel = {texels.Left + u * texels.Width(), texels.Top + v * texels.Height()};
      const uint32_t colour = colours[size_t((row >= 2 ? 2 : 0) + (column >= 2 ? 1 : 0))];
      const bool outside = (column == 0 && ring[0] > 0) || (row == 0 && ring[1] > 0) ||
                           (column == 3 && ring[2] > 0) || (row == 3 && ring[3] > 0);
      vertex.Colour = outside ? colour & 0x00FFFFFF : colour;
    }
  return grid;
}

}  // namespace kiv
