#pragma once
// The frames of one video for the drawer: Y, U and V planes (U and V at half size,
// rounded down) shown through the YUV pixel shader, or a single grey plane where one-
// channel textures or shaders are missing. Decoding threads lock a plane, write the
// frame's plane into it and unlock it; the drawing thread paints the planes that changed
// into their textures. Locking counts the planes in flight under the holder's monitor;
// a lost device detaches the holder, which first waits until no plane is in flight and
// then refuses locks until it is attached again.
#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "render/device/monitor.h"
#include "render/drawer/video_texture.h"

namespace kiv {

enum : int { kPlaneY = 0, kPlaneU = 1, kPlaneV = 2, kPlaneGrey = 3 };

class T3DYUV;

// The holders alive for one drawer; it outlives the drawer while holders remain.
class TYUVRegistry {
 public:
  void Add(T3DYUV* yuv);
  void Remove(T3DYUV* yuv);
  // Runs action on every holder; none is freed meanwhile.
  void ForEach(const std::function<void(T3DYUV&)>& action);

 private:
  std::mutex FLock;
  std::vector<T3DYUV*> FHolders;
};

class T3DYUV : public TMonitor {
 public:
  // planar: Y, U and V planes; otherwise the grey plane.
  T3DYUV(std::shared_ptr<TYUVRegistry> registry, T3DScreen& screen, int width, int height, bool planar);
  // Waits until no plane is in flight.
  ~T3DYUV();

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Planar() const { return FPlanes[kPlaneY] != nullptr; }

  // Any thread: the padded plane (one byte per pixel) to write the frame's plane into,
  // its top-left PlaneWidth x PlaneHeight pixels; null while detached, for a plane this
  // holder has not, or for one already locked. A plane above 3 is an assertion.
  TBitmap* LockPlane(int plane);
  // The locked plane is written: its edges are repeated into the padding and it is
  // shown from the next frame on. Unlocking a plane that is not locked is an assertion.
  void UnlockPlane(int plane);
  int PlanesInFlight();
  // The texture of plane; null for a plane this holder has not.
  TVideoTexture* Texture(int plane);

  // Drawing thread: the device is gone (waits for planes in flight) or back.
  void Detach();
  void Attach();
  bool Detached();
  // Drawing thread: paints the planes that changed and are not being written.
  void Prepare();

 private:
  void WaitForPlanes();

  std::shared_ptr<TYUVRegistry> FRegistry;
  int FWidth;
  int FHeight;
  std::array<std::unique_ptr<TVideoTexture>, 4> FPlanes;
  std::array<bool, 4> FLocked{};
  int FInFlight = 0;
  bool FDetached = false;
};

}  // namespace kiv
