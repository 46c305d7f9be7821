#include "render/screen/custom_texture.h"

#include "render/device/renderer_3d.h"
#include "render/screen/mip_levels.h"
#include "render/screen/screen_3d.h"
#include "render/screen/texture_size.h"

namespace kiv {

TCustomTexture::TCustomTexture(T3DScreen& screen, TTextureKind kind) : TScreenResource(screen), FKind(kind) {}

TCustomTexture::~TCustomTexture() = default;

T3DTexture* TCustomTexture::GetTexture() {
  if (FTexture || !Screen() || !Screen()->IsReady() || FWidth <= 0 || FHeight <= 0) return FTexture.get();
  FTexture = Screen()->Renderer()->CreateTexture(FKind, FDeviceWidth, FMipMapped, FDeviceHeight);
  if (!FTexture) return nullptr;
  // The store drops its textures when the device is lost; this one is made again later.
  FTexture->SetLostNotification([this] { Release(); });
  if (!IsRenderTargetKind(FKind)) Upload();
  return FTexture.get();
}

void TCustomTexture::SetSize(int width, int height) {
  Release();
  FWidth = width;
  FHeight = height;
  FDeviceWidth = DeviceTextureSide(width);
  FDeviceHeight = DeviceTextureSide(height);
}

void TCustomTexture::SetKind(TTextureKind kind) {
  if (kind == FKind) return;
  Release();
  FKind = kind;
}

void TCustomTexture::SetMipMapped(bool mipMapped) {
  if (mipMapped == FMipMapped) return;
  Release();
  FMipMapped = mipMapped;
}

void TCustomTexture::Release() { FTexture.reset(); }

void TCustomTexture::Refresh() {
  if (FTexture && !IsRenderTargetKind(FKind)) Upload();
}

void TCustomTexture::Upload() {
  const int levels = FTexture->GetLevelCount();
  TRect area{0, 0, FWidth, FHeight};
  std::unique_ptr<TBitmap> current = FTexture->GetLevel(0)->Lock(&area, false);
  if (!current) return;
  Paint(*current);
  const bool reduce = current->Format() == TPixelFormat::Bgra32;
  for (int level = 0; level < levels; ++level) {
    std::unique_ptr<TBitmap> next;
    if (reduce && level + 1 < levels) {
      const TRect smaller{0, 0, std::max(1, FWidth >> (level + 1)), std::max(1, FHeight >> (level + 1))};
      next = FTexture->GetLevel(level + 1)->Lock(&smaller, false);
      if (next) ReduceInto(*current, *next);
    }
    FTexture->GetLevel(level)->Unlock(std::move(current));
    if (!next) break;
    current = std::move(next);
  }
  if (!reduce && levels > 1) FTexture->GenerateMipLevels();
}

}  // namespace kiv
