// The screen's arithmetic: camera, texture sizes, tile choice, tile bitmaps with aprons,
// nine-grid vertices and mip reduction.
#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "base/errors.h"
#include "render/device/device_test_support.h"
#include "render/screen/camera.h"
#include "render/screen/mip_levels.h"
#include "render/screen/nine_grid.h"
#include "render/screen/texture_manager6.h"
#include "render/screen/texture_size.h"
#include "render/screen/tile_bitmap.h"

namespace kiv {
namespace {

using testing::MakePattern;

// v · M for a row vector (x, y, z, 1).
std::array<float, 4> Transform(const std::array<float, 4>& v, const TMatrix4& m) {
  std::array<float, 4> out{};
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) out[size_t(c)] += v[size_t(r)] * m.M[r][c];
  return out;
}

// Where a pixel-space point lands in the target, in target pixels.
std::pair<float, float> TargetPixel(const TViewMatrices& m, const TVector3& pixel, int screenWidth, int screenHeight,
                                    int targetWidth, int targetHeight) {
  const TVector3 space = PixelToSpace(pixel, screenWidth, screenHeight);
  auto p = Transform(Transform(Transform({space.X, space.Y, space.Z, 1}, m.World), m.View), m.Projection);
  const float ndcX = p[0] / p[3], ndcY = p[1] / p[3];
  return {(ndcX + 1) / 2 * targetWidth, (1 - ndcY) / 2 * targetHeight};
}

TEST(ScreenCamera, PixelsLandOnThemselvesInAnyTarget) {
  const TVector3 centre = PixelToSpace({160, 100, 0}, 320, 200);
  EXPECT_FLOAT_EQ(centre.X, 0);
  EXPECT_FLOAT_EQ(centre.Y, 0);
  const TVector3 corner = PixelToSpace({0, 0, 50}, 320, 200);
  EXPECT_FLOAT_EQ(corner.X, -1);
  EXPECT_FLOAT_EQ(corner.Y, 1);
  EXPECT_FLOAT_EQ(corner.Z, 0.25f);
  const TVector3 unchanged = PixelToSpace({7, 8, 9}, 0, 200);
  EXPECT_FLOAT_EQ(unchanged.X, 7);

  // The whole screen.
  const TViewMatrices screen = MakeViewMatrices(0, 0, 200, 320, 200, 320, 0, 0);
  auto [x, y] = TargetPixel(screen, {37, 61, 0}, 320, 200, 320, 200);
  EXPECT_NEAR(x, 37, 1e-3);
  EXPECT_NEAR(y, 61, 1e-3);
  // A 64 x 32 target standing at (100, 50) of the screen.
  const TViewMatrices target = MakeViewMatrices(100, 50, 200, 320, 32, 64, 0, 0);
  std::tie(x, y) = TargetPixel(target, {110, 70, 0}, 320, 200, 64, 32);
  EXPECT_NEAR(x, 10, 1e-3);
  EXPECT_NEAR(y, 20, 1e-3);
  // Further away, a point moves towards the centre of the screen.
  std::tie(x, y) = TargetPixel(screen, {0, 0, 200}, 320, 200, 320, 200);
  EXPECT_NEAR(x, 80, 1e-3);
  EXPECT_NEAR(y, 50, 1e-3);
}

TEST(ScreenCamera, ProjectionRoutines) {
  const TVector3 camera = CameraPosition(320, 200);
  const TVector3 seen = ProjectToScreen({0, 0, 200}, camera);
  EXPECT_NEAR(seen.X, 80, 1e-3);
  EXPECT_NEAR(seen.Y, 50, 1e-3);
  EXPECT_THROW(ProjectToScreen({0, 0, 0}, {1, 1, 0}), EAssertionFailed);

  // The screen plane z = 0 is met where the pixel is.
  const TVector3 a{0, 0, 0}, b{1, 0, 0}, c{0, 1, 0};
  const TVector3 hit = PixelOnPlane(30, 40, a, b, c, camera);
  EXPECT_NEAR(hit.X, 30, 1e-3);
  EXPECT_NEAR(hit.Z, 0, 1e-3);
  // A plane seen edge-on cannot be met.
  const TVector3 edgeA{0, 100, 0}, edgeB{1, 100, 0}, edgeC{0, 100, 1};
  try {
    PixelOnPlane(30, 100, edgeA, edgeB, edgeC, camera);
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& failure) {
    EXPECT_EQ(failure.Text(), " Degenerate object ");
  }
  EXPECT_TRUE(OnVisibleSide(camera, a, b, c));
  EXPECT_FALSE(OnVisibleSide(camera, a, c, b));
}

TEST(ScreenTextures, DeviceSidesArePowersOfTwoOfAtLeast32) {
  // Sides beyond the largest power of two an int holds stop there instead of overflowing.
  constexpr int kLargest = 1 << 30;
  const std::pair<int, int> sides[] = {{20, 32},
                                       {32, 32},
                                       {33, 64},
                                       {200, 256},
                                       {300, 512},
                                       {1, 32},
                                       {-5, 32},
                                       {kLargest - 1, kLargest},
                                       {kLargest, kLargest},
                                       {kLargest + 1, kLargest},
                                       {INT_MAX, kLargest}};
  for (const auto& [side, device] : sides) EXPECT_EQ(DeviceTextureSide(side), device) << side;
}

TEST(ScreenTiles, ChoiceByCoverageThenWasteThenOrder) {
  std::vector<TTileSize> sizes(kTileSizes.begin(), kTileSizes.end());
  std::vector<bool> all(sizes.size(), true);
  // 300 x 200 takes the 256 x 256 tile first: it covers 256 x 200.
  EXPECT_EQ(ChooseTileSize(sizes, all, 300, 200), 0);
  // The rest, 44 x 200, fits 64 x 256 with least waste.
  EXPECT_EQ(ChooseTileSize(sizes, all, 44, 200), 2);
  EXPECT_EQ(ChooseTileSize(sizes, all, 60, 60), 5);
  EXPECT_EQ(ChooseTileSize(sizes, all, 250, 100), 3);
  EXPECT_EQ(ChooseTileSize(sizes, all, 120, 250), 1);
  // Every tall tile covers 10 x 256 of 10 x 300: the narrowest wastes least.
  EXPECT_EQ(ChooseTileSize(sizes, all, 10, 300), 2);
  std::vector<bool> without = all;
  without[0] = false;
  EXPECT_EQ(ChooseTileSize(sizes, without, 300, 300), 1);
  EXPECT_EQ(ChooseTileSize(sizes, std::vector<bool>(sizes.size(), false), 300, 300), -1);
}

TEST(ScreenTiles, TileBitmapAprons) {
  auto picture = MakePattern(10, 6);
  // The picture's columns 1..8 and rows 1..4 cut into 2 x 2 pieces of 4 x 2.
  TTileBitmap tiles(*picture, {1, 1, 9, 5}, 2, 2);
  EXPECT_EQ(tiles.Width(), 8 + 4);
  EXPECT_EQ(tiles.Height(), 4 + 4);
  EXPECT_EQ(tiles.Piece(1, 1), (TRect{4, 2, 8, 4}));
  EXPECT_EQ(tiles.PieceWithApron(1, 0), (TRect{6, 0, 12, 4}));
  uint32_t row[12];
  tiles.GetPixels(0, 1, 12, reinterpret_cast<uint8_t*>(row), sizeof row);
  // Piece 0: apron (own edge at the border), columns 1..4, apron (neighbour's first).
  EXPECT_EQ(row[0], PixelAt(*picture, 1, 1));
  EXPECT_EQ(row[1], PixelAt(*picture, 1, 1));
  EXPECT_EQ(row[4], PixelAt(*picture, 4, 1));
  EXPECT_EQ(row[5], PixelAt(*picture, 5, 1));
  // Piece 1: apron (neighbour's last), columns 5..8, apron (own edge).
  EXPECT_EQ(row[6], PixelAt(*picture, 4, 1));
  EXPECT_EQ(row[7], PixelAt(*picture, 5, 1));
  EXPECT_EQ(row[11], PixelAt(*picture, 8, 1));
  // Row 3 of the view is the apron below piece row 0: the neighbour's first row.
  tiles.GetPixels(2, 3, 1, reinterpret_cast<uint8_t*>(row), sizeof row);
  EXPECT_EQ(row[0], PixelAt(*picture, 2, 3));

  auto failure = [&](int x, int y, int count, size_t space) {
    try {
      tiles.GetPixels(x, y, count, reinterpret_cast<uint8_t*>(row), space);
    } catch (const EAssertionFailed& error) {
      return error.Text();
    }
    return std::string();
  };
  EXPECT_EQ(failure(12, 0, 1, sizeof row), "TTileBitmap.GetPixels (X,Y) out of Bitmap.Size");
  EXPECT_EQ(failure(0, -1, 1, sizeof row), "TTileBitmap.GetPixels (X,Y) out of Bitmap.Size");
  EXPECT_EQ(failure(5, 0, 8, sizeof row), "TTileBitmap.GetPixels - Offset out of Bounds");
  EXPECT_EQ(failure(0, 0, 12, 40), "TTileBitmap.GetPixels - Not Enought Pixel Buffer Space");

  // Pieces that do not divide evenly: the last takes the rest.
  TTileBitmap uneven(*picture, {0, 0, 10, 6}, 3, 1);
  EXPECT_EQ(uneven.Piece(2, 0), (TRect{6, 0, 10, 6}));
  EXPECT_EQ(uneven.Width(), 16);
}

TEST(ScreenNineGrid, RingLiesOutsideMarkedEdgesWithAlphaZero) {
  const TCornerColours colours = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004};
  const auto grid = BuildNineGrid({10, 20, 0}, {100, 0, 0}, {0, 50, 0}, {0, 0, 64, 32}, colours, {0.01f, 0, 0, 0});
  // Inner corners.
  EXPECT_FLOAT_EQ(grid[5].Point.X, 10);
  EXPECT_FLOAT_EQ(grid[10].Point.X, 110);
  EXPECT_FLOAT_EQ(grid[10].Point.Y, 70);
  EXPECT_EQ(grid[5].Colour, 0xFF000001u);
  EXPECT_EQ(grid[6].Colour, 0xFF000002u);
  EXPECT_EQ(grid[9].Colour, 0xFF000003u);
  EXPECT_EQ(grid[10].Texel.U, 64);
  // The left ring: one pixel out, transparent, with the edge texels.
  EXPECT_FLOAT_EQ(grid[4].Point.X, 9);
  EXPECT_EQ(grid[4].Colour, 0x00000001u);
  EXPECT_EQ(grid[4].Texel.U, 0);
  // Unmarked edges collapse onto the quad and keep their colour.
  EXPECT_FLOAT_EQ(grid[7].Point.X, 110);
  EXPECT_EQ(grid[7].Colour, 0xFF000002u);
  EXPECT_FLOAT_EQ(grid[1].Point.Y, 20);
  // The two triangles of the quad itself.
  EXPECT_EQ(kNineGridTriangles[kCentreTriangleFirst], (std::array<uint8_t, 3>{9, 5, 10}));
  EXPECT_EQ(kNineGridTriangles[kCentreTriangleFirst + 1], (std::array<uint8_t, 3>{10, 5, 6}));
}

TEST(ScreenMipLevels, HalvesExactlyAndResamplesOtherwise) {
  TBitmap source(4, 2, TPixelFormat::Bgra32);
  SetPixel(source, 0, 0, 0xFF000000);
  SetPixel(source, 1, 0, 0xFF0000FF);
  SetPixel(source, 0, 1, 0x00000000);
  SetPixel(source, 1, 1, 0xFF0000FF);
  TBitmap half(2, 1, TPixelFormat::Bgra32);
  ReduceInto(source, half);
  EXPECT_EQ(PixelAt(half, 0, 0), 0xBF000080u);
  // 3 x 3 to 1 x 1: the mean of all nine pixels.
  TBitmap odd(3, 3, TPixelFormat::Bgra32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) SetPixel(odd, x, y, 0xFF000000u | uint32_t(x * 90));
  TBitmap one(1, 1, TPixelFormat::Bgra32);
  ReduceInto(odd, one);
  EXPECT_EQ(PixelAt(one, 0, 0), 0xFF00005Au);
}

}  // namespace
}  // namespace kiv
