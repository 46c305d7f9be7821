#pragma once
// One level of a GL texture seen as a surface; the back buffer is level 0 of a
// render-target texture. Reading, copying and drawing into a surface go through a
// framebuffer made for it on first use.
#include <GLES3/gl3.h>

#include <vector>

#include "render/device/surface_3d.h"

namespace kiv {

class T3DTextureGL;
class TDevStore;

class T3DSurfaceGL : public T3DSurface {
 public:
  T3DSurfaceGL(T3DTextureGL& texture, int level);
  ~T3DSurfaceGL() override;

  bool DrawTo(TBitmap& target) override;
  bool GetSize(int& width, int& height) override;
  const char* GetPixelFormat() override;
  std::unique_ptr<TBitmap> Lock(const TRect* rect, bool readOnly) override;
  bool Unlock(std::unique_ptr<TBitmap> bitmap) override;
  bool IsRenderTarget() const override;

  T3DTextureGL& Texture() const { return FTexture; }
  TDevStore* Store() const;
  int Width() const;
  int Height() const;
  TRect Bounds() const { return {0, 0, Width(), Height()}; }
  // With the context current: the framebuffer that has this level as its colour.
  GLuint Framebuffer();
  // With the context current: rect as a bitmap of format (pending pixels written first).
  std::unique_ptr<TBitmap> ReadPixels(const TRect& rect, TPixelFormat format);
  // The same into target, which has rect's size and a format DeviceRgbaToBitmap serves.
  bool ReadPixels(const TRect& rect, TBitmap& target);

  void StoreGone() { FFramebuffer = 0; }

 private:
  TPixelFormat BitmapFormat() const;

  T3DTextureGL& FTexture;
  int FLevel;
  GLuint FFramebuffer = 0;
  // Pixels on their way from the device; kept, so that reading every frame does not
  // allocate a frame's worth of fresh memory each time.
  std::vector<uint8_t> FReadBuffer;
  bool FLocked = false;
  bool FLockReadOnly = false;
  TRect FLockRect;
};

}  // namespace kiv
