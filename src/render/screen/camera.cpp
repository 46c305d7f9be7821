#include "render/screen/camera.h"

#include <cmath>

#include "base/errors.h"

namespace kiv {

namespace {
constexpr float kNearZ = 0.01f;
constexpr float kFarZ = 1000000.0f;
constexpr float kSmallestDepth = 1e-6f;

float SafeDepth(float depth) {
  if (std::fabs(depth) >= kSmallestDepth) return depth;
  return depth < 0 ? -kSmallestDepth : kSmallestDepth;
}
}  // namespace

TViewMatrices MakeViewMatrices(float x, float y, float screenHeight, float screenWidth, float targetHeight,
                               float targetWidth, float texelX, float texelY) {
  TViewMatrices m{TMatrix4::Identity(), TMatrix4::Identity(), TMatrix4{}};
  // Texel offset: shifts x and y whatever the depth; the scene is pushed one unit back.
  const float shiftX = -2 * texelX / screenWidth;
  const float shiftY = 2 * texelY / screenHeight;
  m.World.M[2][0] = shiftX;
  m.World.M[2][1] = shiftY;
  m.World.M[3][0] = shiftX;
  m.World.M[3][1] = shiftY;
  m.World.M[3][2] = 1;
  // The centre of the target onto the axis, in proportion to depth.
  m.View.M[2][0] = 1 - (2 * x + targetWidth) / screenWidth;
  m.View.M[2][1] = (2 * y + targetHeight) / screenHeight - 1;
  m.Projection.M[0][0] = screenWidth / targetWidth;
  m.Projection.M[1][1] = screenHeight / targetHeight;
  m.Projection.M[2][2] = kFarZ / (kFarZ - kNearZ);
  m.Projection.M[2][3] = 1;
  m.Projection.M[3][2] = -kNearZ * kFarZ / (kFarZ - kNearZ);
  return m;
}

TVector3 PixelToSpace(const TVector3& pixel, int width, int height) {
  if (width <= 0 || height <= 0) return pixel;
  return {2 * pixel.X / float(width) - 1, 1 - 2 * pixel.Y / float(height), pixel.Z / float(height)};
}

TVector3 CameraPosition(int width, int height) { return {width / 2.0f, height / 2.0f, -float(height)}; }

TVector3 ProjectToScreen(const TVector3& point, const TVector3& camera) {
  if (camera.Z == 0) KIV_FAIL("  Camera.Z = 0  ");
  const float scale = -camera.Z / SafeDepth(point.Z - camera.Z);
  return {camera.X + (point.X - camera.X) * scale, camera.Y + (point.Y - camera.Y) * scale, point.Z};
}

TVector3 PixelOnPlane(float px, float py, const TVector3& a, const TVector3& b, const TVector3& c,
                      const TVector3& camera) {
  const TVector3 normal = Cross(b - a, c - a);
  const TVector3 sight{px - camera.X, py - camera.Y, -camera.Z};
  const float along = Dot(normal, sight);
  if (std::fabs(along) < 1e-12f) KIV_FAIL(" Degenerate object ");
  return camera + sight * (Dot(normal, a - camera) / along);
}

bool OnVisibleSide(const TVector3& point, const TVector3& a, const TVector3& b, const TVector3& c) {
  return Dot(Cross(b - a, c - a), point - a) < 0;
}

}  // namespace kiv
