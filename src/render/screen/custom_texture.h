#pragma once
// A texture whose pixels a subclass paints. The device texture is made on first use with
// power-of-two sides (at least 32) and filled then; after a lost device it is made and
// filled again at the next use. The picture occupies the top-left Width x Height of the
// device texture.
#include <cstdint>
#include <memory>

#include "graphics/bitmap.h"
#include "render/device/texture_3d.h"
#include "render/screen/screen_resource.h"

namespace kiv {

class TCustomTexture : public TScreenResource {
 public:
  explicit TCustomTexture(T3DScreen& screen, TTextureKind kind = TTextureKind::Argb);
  ~TCustomTexture() override;

  // The device texture, made and filled when missing; null while the screen has no
  // usable renderer.
  T3DTexture* GetTexture();
  void SetSize(int width, int height);
  void Release() override;
  // Fills the device texture again when there is one.
  void Refresh();

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int DeviceWidth() const { return FDeviceWidth; }
  int DeviceHeight() const { return FDeviceHeight; }
  // Pixel coordinates times these give texture coordinates.
  float ReciprocalWidth() const { return 1.0f / float(FDeviceWidth); }
  float ReciprocalHeight() const { return 1.0f / float(FDeviceHeight); }

  TTextureKind Kind() const { return FKind; }
  void SetKind(TTextureKind kind);
  bool MipMapped() const { return FMipMapped; }
  void SetMipMapped(bool mipMapped);
  float MipLodBias() const { return FMipLodBias; }
  void SetMipLodBias(float bias) { FMipLodBias = bias; }
  uint8_t Opacity() const { return FOpacity; }
  void SetOpacity(uint8_t opacity) { FOpacity = opacity; }
  bool PointFilter() const { return FPointFilter; }
  void SetPointFilter(bool pointFilter) { FPointFilter = pointFilter; }

 protected:
  // Fills level 0: target is Width x Height in the kind's layout (Bgra32, Indexed8 for
  // one channel, Rgb565), zero-filled.
  virtual void Paint(TBitmap& target) = 0;
  // Writes every level: level 0 painted, each further one reduced from the one before.
  virtual void Upload();

 private:
  std::unique_ptr<T3DTexture> FTexture;
  TTextureKind FKind;
  int FWidth = 0;
  int FHeight = 0;
  int FDeviceWidth = 32;
  int FDeviceHeight = 32;
  bool FMipMapped = false;
  float FMipLodBias = 0;
  uint8_t FOpacity = 255;
  bool FPointFilter = false;
};

}  // namespace kiv
