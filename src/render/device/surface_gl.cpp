#include "render/device/surface_gl.h"

#include "render/device/dev_store.h"
#include "render/device/device_lock.h"
#include "render/device/gl_result.h"
#include "render/device/pixel_transfer.h"
#include "render/device/texture_gl.h"

namespace kiv {

T3DSurfaceGL::T3DSurfaceGL(T3DTextureGL& texture, int level) : FTexture(texture), FLevel(level) {}

T3DSurfaceGL::~T3DSurfaceGL() {
  TDeviceLockGuard lock;
  if (TDevStore* store = Store()) store->DeleteFramebufferLater(FFramebuffer);
}

TDevStore* T3DSurfaceGL::Store() const { return FTexture.Store(); }
int T3DSurfaceGL::Width() const { return FTexture.LevelWidth(FLevel); }
int T3DSurfaceGL::Height() const { return FTexture.LevelHeight(FLevel); }
bool T3DSurfaceGL::IsRenderTarget() const { return IsRenderTargetKind(FTexture.Kind()); }

TPixelFormat T3DSurfaceGL::BitmapFormat() const {
  switch (FTexture.Kind()) {
    case TTextureKind::Luminance: return TPixelFormat::Indexed8;
    case TTextureKind::Rgb565: return TPixelFormat::Rgb565;
    default: return TPixelFormat::Bgra32;
  }
}

const char* T3DSurfaceGL::GetPixelFormat() {
  switch (BitmapFormat()) {
    case TPixelFormat::Indexed8: return "A8";
    case TPixelFormat::Rgb565: return "B5G6R5";
    default: return "A8R8G8B8";
  }
}

bool T3DSurfaceGL::GetSize(int& width, int& height) {
  TDeviceLockGuard lock;
  if (!Store()) {
    width = height = 0;
    return SetResult(TDeviceError::DeviceLost);
  }
  width = Width();
  height = Height();
  return SetResult(TDeviceError::Ok);
}

GLuint T3DSurfaceGL::Framebuffer() {
  if (FFramebuffer) return FFramebuffer;
  glGenFramebuffers(1, &FFramebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, FFramebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, FTexture.Name(), FLevel);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return FFramebuffer;
}

std::unique_ptr<TBitmap> T3DSurfaceGL::ReadPixels(const TRect& rect, TPixelFormat format) {
  auto bitmap = std::make_unique<TBitmap>(rect.Width(), rect.Height(), format);
  if (!ReadPixels(rect, *bitmap)) return nullptr;
  return bitmap;
}

bool T3DSurfaceGL::ReadPixels(const TRect& rect, TBitmap& target) {
  if (!FTexture.ApplyPending()) return false;
  const size_t size = size_t(rect.Width()) * rect.Height() * 4;
  if (FReadBuffer.size() < size) FReadBuffer.resize(size);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, Framebuffer());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(rect.Left, rect.Top, rect.Width(), rect.Height(), GL_RGBA, GL_UNSIGNED_BYTE, FReadBuffer.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  if (!SetResult(TakeGLResult())) return false;
  DeviceRgbaToBitmap(FReadBuffer.data(), FTexture.Kind() == TTextureKind::RenderTargetXrgb, target);
  return true;
}

bool T3DSurfaceGL::DrawTo(TBitmap& target) {
  TDeviceLockGuard lock;
  if (!Store()) return SetResult(TDeviceError::DeviceLost);
  if (target.Format() != TPixelFormat::Bgra32 || target.Width() != Width() || target.Height() != Height())
    return SetResult(TDeviceError::InvalidCall);
  if (!Store()->MakeCurrent()) return SetResult(TDeviceError::InvalidCall);
  return ReadPixels(Bounds(), target);
}

std::unique_ptr<TBitmap> T3DSurfaceGL::Lock(const TRect* rect, bool readOnly) {
  TDeviceLockGuard lock;
  const TRect area = rect ? *rect : Bounds();
  if (!Store()) {
    SetResult(TDeviceError::DeviceLost);
    return nullptr;
  }
  if (FLocked || area.IsEmpty() || Intersection(area, Bounds()) != area || (!readOnly && IsRenderTarget())) {
    SetResult(TDeviceError::InvalidCall);
    return nullptr;
  }
  std::unique_ptr<TBitmap> bitmap;
  if (readOnly) {
    if (!Store()->MakeCurrent()) {
      SetResult(TDeviceError::InvalidCall);
      return nullptr;
    }
    bitmap = ReadPixels(area, BitmapFormat());
    if (!bitmap) return nullptr;
  } else {
    bitmap = std::make_unique<TBitmap>(area.Width(), area.Height(), BitmapFormat());
  }
  FLocked = true;
  FLockReadOnly = readOnly;
  FLockRect = area;
  SetResult(TDeviceError::Ok);
  return bitmap;
}

bool T3DSurfaceGL::Unlock(std::unique_ptr<TBitmap> bitmap) {
  TDeviceLockGuard lock;
  if (!FLocked || !bitmap || bitmap->Format() != BitmapFormat() || bitmap->Width() != FLockRect.Width() ||
      bitmap->Height() != FLockRect.Height())
    return SetResult(TDeviceError::InvalidCall);
  FLocked = false;
  if (!Store()) return SetResult(TDeviceError::DeviceLost);
  if (!FLockReadOnly) FTexture.QueueUpload(FLevel, FLockRect, std::move(bitmap));
  return SetResult(TDeviceError::Ok);
}

}  // namespace kiv
