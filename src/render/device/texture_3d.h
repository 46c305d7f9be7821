#pragma once
// A texture made by a renderer, with the sampling state its draws use.
#include <cstdint>
#include <functional>

#include "render/device/device_result.h"
#include "render/device/surface_3d.h"

namespace kiv {

enum class TTextureKind : uint8_t {
  Argb = 0,              // A8R8G8B8, filled from program bitmaps
  RenderTargetXrgb = 1,  // X8R8G8B8 render target: alpha reads as opaque
  RenderTargetArgb = 2,  // A8R8G8B8 render target
  Luminance = 3,         // L8, one channel
  Rgb565 = 4,            // R5G6B5
};
inline constexpr int kTextureKindCount = 5;

inline bool IsRenderTargetKind(TTextureKind kind) {
  return kind == TTextureKind::RenderTargetXrgb || kind == TTextureKind::RenderTargetArgb;
}

enum class TAddressMode : uint8_t { Wrap = 0, Clamp = 1, Mirror = 2 };
enum class TTextureFilter : uint8_t { Point = 0, Linear = 1 };

class T3DTexture : public T3DResultHolder {
 public:
  virtual ~T3DTexture() = default;

  // The level's surface, made once and kept; null past the last level.
  virtual T3DSurface* GetLevel(int index) = 0;
  virtual int GetLevelCount() = 0;
  // Fills every level below the first from level 0.
  virtual bool GenerateMipLevels() = 0;
  virtual TTextureKind Kind() const = 0;

  void SetAddressMode(TAddressMode u, TAddressMode v) { FAddressU = u, FAddressV = v; }
  void GetAddressMode(TAddressMode& u, TAddressMode& v) const { u = FAddressU, v = FAddressV; }
  void SetFilter(TTextureFilter filter) { FFilter = filter; }
  TTextureFilter GetFilter() const { return FFilter; }
  void SetMipMapped(bool mipMapped) { FMipMapped = mipMapped; }
  bool MipMapped() const { return FMipMapped; }
  void SetMipLodBias(float bias) { FMipLodBias = bias; }
  float MipLodBias() const { return FMipLodBias; }

  // Called when the device under the texture is lost; the texture object stays, empty.
  void SetLostNotification(std::function<void()> notification) { FLostNotification = std::move(notification); }

 protected:
  void NotifyLost() {
    if (FLostNotification) FLostNotification();
  }

 private:
  TAddressMode FAddressU = TAddressMode::Wrap;
  TAddressMode FAddressV = TAddressMode::Wrap;
  TTextureFilter FFilter = TTextureFilter::Linear;
  bool FMipMapped = false;
  float FMipLodBias = 0;
  std::function<void()> FLostNotification;
};

}  // namespace kiv
