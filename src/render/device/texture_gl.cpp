#include "render/device/texture_gl.h"

#include "render/device/dev_store.h"
#include "render/device/device_lock.h"
#include "render/device/gl_result.h"
#include "render/device/pixel_transfer.h"
#include "render/device/surface_gl.h"

#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#endif

namespace kiv {

namespace {

GLenum InternalFormat(TTextureKind kind) {
  switch (kind) {
    case TTextureKind::Luminance: return GL_R8;
    case TTextureKind::Rgb565: return GL_RGB565;
    default: return GL_RGBA8;
  }
}

GLint WrapMode(TAddressMode mode) {
  switch (mode) {
    case TAddressMode::Clamp: return GL_CLAMP_TO_EDGE;
    case TAddressMode::Mirror: return GL_MIRRORED_REPEAT;
    default: return GL_REPEAT;
  }
}

// Every pixel of a Bgra32 bitmap has alpha 255; other formats carry no alpha.
bool AllAlphaOpaque(const TBitmap& pixels) {
  if (pixels.Format() != TPixelFormat::Bgra32) return true;
  for (int y = 0; y < pixels.Height(); ++y) {
    const uint8_t* row = pixels.Row(y);
    for (int x = 0; x < pixels.Width(); ++x)
      if (row[4 * x + 3] != 255) return false;
  }
  return true;
}

}  // namespace

T3DTextureGL::T3DTextureGL(TDevStore& store, TTextureKind kind, int width, int height, int levels)
    : FStore(&store), FKind(kind), FWidth(width), FHeight(height), FLevels(levels) {
  PixelsOverwritten();
  FSurfaces.resize(size_t(levels));
  store.AddTexture(this);
}

T3DTextureGL::~T3DTextureGL() {
  TDeviceLockGuard lock;
  FSurfaces.clear();
  if (!FStore) return;
  FStore->RemoveTexture(this);
  FStore->DeleteTextureLater(FName);
}

bool T3DTextureGL::Allocate() {
  glGenTextures(1, &FName);
  glBindTexture(GL_TEXTURE_2D, FName);
  glTexStorage2D(GL_TEXTURE_2D, FLevels, InternalFormat(FKind), FWidth, FHeight);
  if (FKind == TTextureKind::RenderTargetXrgb) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
  if (FKind == TTextureKind::Luminance) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_G, GL_RED);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_B, GL_RED);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  return SetResult(TakeGLResult());
}

T3DSurface* T3DTextureGL::GetLevel(int index) {
  TDeviceLockGuard lock;
  if (index < 0 || index >= FLevels) {
    SetResult(TDeviceError::InvalidCall);
    return nullptr;
  }
  if (!FSurfaces[size_t(index)]) FSurfaces[size_t(index)] = std::make_unique<T3DSurfaceGL>(*this, index);
  SetResult(TDeviceError::Ok);
  return FSurfaces[size_t(index)].get();
}

bool T3DTextureGL::GenerateMipLevels() {
  TDeviceLockGuard lock;
  if (!FStore) return SetResult(TDeviceError::DeviceLost);
  FMipsPending = FLevels > 1;
  return SetResult(TDeviceError::Ok);
}

void T3DTextureGL::QueueUpload(int level, const TRect& rect, std::unique_ptr<TBitmap> pixels) {
  TDeviceLockGuard lock;
  // The alpha is looked at here, on the caller's thread, not on the drawing thread.
  const bool opaque = AllAlphaOpaque(*pixels);
  FUploads.push_back({level, rect, std::move(pixels), opaque});
}

bool T3DTextureGL::ApplyPending() {
  if (FUploads.empty() && !FMipsPending) return true;
  glBindTexture(GL_TEXTURE_2D, FName);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  for (const TUpload& upload : FUploads) {
    const TBitmap& pixels = *upload.Pixels;
    const TRect& r = upload.Rect;
    if (FKind == TTextureKind::Argb) {
      if (!upload.Opaque) {
        if (!Intersection(FOpaqueArea, upload.Level == 0 ? r : TRect{0, 0, FWidth, FHeight}).IsEmpty())
          FOpaqueArea = {};
      } else if (upload.Level == 0 && r.Width() * int64_t(r.Height()) > FOpaqueArea.Width() * int64_t(FOpaqueArea.Height())) {
        // Both the old area and the new one are opaque now; the larger is kept.
        FOpaqueArea = r;
      }
    }
    switch (pixels.Format()) {
      case TPixelFormat::Bgra32: {
        const std::vector<uint8_t> rgba = BgraToDeviceRgba(pixels);
        glTexSubImage2D(GL_TEXTURE_2D, upload.Level, r.Left, r.Top, r.Width(), r.Height(), GL_RGBA,
                        GL_UNSIGNED_BYTE, rgba.data());
        break;
      }
      case TPixelFormat::Rgb565:
        glTexSubImage2D(GL_TEXTURE_2D, upload.Level, r.Left, r.Top, r.Width(), r.Height(), GL_RGB,
                        GL_UNSIGNED_SHORT_5_6_5, pixels.Row(0));
        break;
      default:
        glTexSubImage2D(GL_TEXTURE_2D, upload.Level, r.Left, r.Top, r.Width(), r.Height(), GL_RED,
                        GL_UNSIGNED_BYTE, pixels.Row(0));
        break;
    }
  }
  FUploads.clear();
  if (FMipsPending) glGenerateMipmap(GL_TEXTURE_2D);
  FMipsPending = false;
  glBindTexture(GL_TEXTURE_2D, 0);
  return SetResult(TakeGLResult());
}

void T3DTextureGL::Bind(int unit, int maxAnisotropy) {
  glActiveTexture(GL_TEXTURE0 + GLenum(unit));
  glBindTexture(GL_TEXTURE_2D, FName);
  TAddressMode u, v;
  GetAddressMode(u, v);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, WrapMode(u));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, WrapMode(v));
  const bool linear = GetFilter() == TTextureFilter::Linear;
  const bool mipFiltered = MipFiltered(maxAnisotropy);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, linear ? GL_LINEAR : GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                  mipFiltered ? GL_LINEAR_MIPMAP_LINEAR : (linear ? GL_LINEAR : GL_NEAREST));
  if (maxAnisotropy > 0)
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, mipFiltered ? float(maxAnisotropy) : 1.0f);
}

void T3DTextureGL::PixelsOverwritten() {
  const bool alpha = FKind == TTextureKind::Argb || FKind == TTextureKind::RenderTargetArgb;
  FOpaqueArea = alpha ? TRect{} : TRect{0, 0, FWidth, FHeight};
}

void T3DTextureGL::StoreGone() {
  FStore = nullptr;
  FName = 0;
  FUploads.clear();
  FMipsPending = false;
  for (auto& surface : FSurfaces)
    if (surface) surface->StoreGone();
  NotifyLost();
}

}  // namespace kiv
