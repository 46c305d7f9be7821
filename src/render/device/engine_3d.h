#pragma once
// The process's entry to the graphics device: adapters, capabilities, display modes and
// the renderers for output windows.
#include <cstdint>
#include <memory>
#include <string_view>

#include "render/device/device_result.h"
#include "render/device/geometry_3d.h"
#include "render/device/renderer_3d.h"

namespace kiv {

class TDrawDevice;

struct TDisplayMode {
  int Width = 0;
  int Height = 0;
  int RefreshRate = 0;  // Hz, 0 when the display does not tell
  uint32_t Format = 0;  // the display's pixel format code
};

struct TRendererParams {
  bool Windowed = true;
  int Width = 0;
  int Height = 0;
  int RefreshRate = 0;
  uint32_t Format = 0;
  int Adapter = 0;
};

class T3DEngine : public T3DResultHolder {
 public:
  virtual ~T3DEngine() = default;

  // The adapter whose display overlaps rect most; 0 when none does.
  virtual int FindAdapter(const TRect& rect) = 0;
  // A capability by name, ignoring case: "PixelShaderVersion", "MaxTexWidth",
  // "MaxTexHeight", "MaxAnisotropy", "Raster", "Vendor"; 0 for any other name.
  virtual int GetCaps(std::string_view name, int adapter) = 0;
  virtual bool GetDisplayMode(int adapter, TDisplayMode& mode) = 0;
  virtual bool GetAdapterRect(int adapter, TRect& rect) = 0;
  // Off the main thread the renderer comes back pending and is made ready by the main
  // thread later. Null when the device cannot be created.
  virtual std::unique_ptr<T3DRenderer> CreateRenderer(TDrawDevice& owner, const TRendererParams& params) = 0;
  // False while drawing is impossible (a locked session).
  virtual bool CheckDevice() = 0;
  // 0 without usable pixel shaders, 1 for limited ones, 2 for full ones.
  virtual int GetShaderLevel(int adapter) = 0;
};

}  // namespace kiv
