#pragma once
// The camera of the 3D screen. Points are given in screen pixels (x right, y down, z away
// from the viewer, in pixels too); in space the screen spans -1..1 across and the camera
// stands one unit in front of the screen plane, so a point at z = 0 lands on the pixel it
// names and other points are seen in perspective.
#include "render/device/geometry_3d.h"

namespace kiv {

struct TViewMatrices {
  TMatrix4 World;
  TMatrix4 View;
  TMatrix4 Projection;
};

// (x, y): origin of the current render target inside the screen; (screenWidth,
// screenHeight): the screen; (targetWidth, targetHeight): the target; (texelX, texelY):
// the renderer's texel offset.
TViewMatrices MakeViewMatrices(float x, float y, float screenHeight, float screenWidth, float targetHeight,
                               float targetWidth, float texelX, float texelY);

// Pixel to space: x = 2px / width - 1, y = 1 - 2py / height, z = pz / height. An empty
// screen leaves the point as it is.
TVector3 PixelToSpace(const TVector3& pixel, int width, int height);

// Where the camera stands, in pixel space: before the centre of the screen.
TVector3 CameraPosition(int width, int height);

// The screen pixel a point in pixel space is seen at (its z is the point's depth). The
// camera's z must not be 0 (assertion "  Camera.Z = 0  ").
TVector3 ProjectToScreen(const TVector3& point, const TVector3& camera);

// The point of the plane through a, b, c that is seen at screen pixel (px, py); assertion
// " Degenerate object " when the ray of sight runs along the plane.
TVector3 PixelOnPlane(float px, float py, const TVector3& a, const TVector3& b, const TVector3& c,
                      const TVector3& camera);

// True when point lies on the visible side of the plane through a, b, c: the plane
// equation there is negative.
bool OnVisibleSide(const TVector3& point, const TVector3& a, const TVector3& b, const TVector3& c);

}  // namespace kiv
