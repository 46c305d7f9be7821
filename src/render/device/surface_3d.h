#pragma once
// A two-dimensional picture on the device: a texture level, the back buffer or a render
// target. Rows are addressed top-down everywhere, as in program bitmaps.
#include <memory>

#include "graphics/bitmap.h"
#include "render/device/device_result.h"
#include "render/device/geometry_3d.h"

namespace kiv {

class T3DSurface : public T3DResultHolder {
 public:
  virtual ~T3DSurface() = default;

  // Copies the whole surface into target, which must be a Bgra32 bitmap of its size.
  virtual bool DrawTo(TBitmap& target) = 0;
  // An empty size for a surface that lost its device.
  virtual bool GetSize(int& width, int& height) = 0;
  // The program's name of the pixel layout: "A8R8G8B8", "B5G6R5" or "A8".
  virtual const char* GetPixelFormat() = 0;
  // A bitmap of rect (the whole surface when null) in the surface's layout (Bgra32,
  // Rgb565, or Indexed8 for one channel). Read-only locks hold the current pixels and
  // need the drawing thread; write locks come zero-filled, may be filled on any thread
  // and are drawn on the device at its next use after Unlock.
  virtual std::unique_ptr<TBitmap> Lock(const TRect* rect, bool readOnly) = 0;
  virtual bool Unlock(std::unique_ptr<TBitmap> bitmap) = 0;
  // Back buffers and levels of render-target textures.
  virtual bool IsRenderTarget() const = 0;
};

}  // namespace kiv
