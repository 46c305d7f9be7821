#pragma once
// Draws into one output window. Every frame is drawn into an offscreen back buffer and
// then shown, so the back buffer can be read back at any time.
#include <cstdint>
#include <memory>
#include <string_view>

#include "graphics/bitmap.h"
#include "render/device/device_result.h"
#include "render/device/geometry_3d.h"
#include "render/device/surface_3d.h"
#include "render/device/texture_3d.h"
#include "render/device/vertex_list_3d.h"

namespace kiv {

namespace DrawFlag {
inline constexpr uint32_t Textured = 1;
inline constexpr uint32_t VertexColour = 2;
inline constexpr uint32_t AlphaModulation = 4;
}  // namespace DrawFlag

namespace ClearFlag {
inline constexpr uint32_t Target = 1;
inline constexpr uint32_t Depth = 2;
}  // namespace ClearFlag

enum class TBlendMode : uint8_t { Add = 0, Maximum = 1 };
enum class TTransformKind : uint8_t { World = 0, View = 1, Projection = 2 };

// Number of four-float constants a pixel shader can be given.
inline constexpr int kPixelShaderConstants = 32;

class T3DRenderer : public T3DResultHolder {
 public:
  virtual ~T3DRenderer() = default;

  // True while the renderer's creation still waits for the main thread.
  virtual bool IsPending() = 0;
  // False while pending and once the device is lost: a lost renderer stays so, and the
  // layer above makes a new one.
  virtual bool HasDevice() = 0;

  virtual bool BeginScene() = 0;
  virtual bool EndScene() = 0;
  // Shows the back buffer: the first source rectangle into the first destination
  // rectangle in a window, the whole buffer in full screen.
  virtual bool Present(const TRect* sourceRects, int count, const TRect* destRects) = 0;
  // ClearFlag bits; no rectangles clears the whole viewport.
  virtual bool Clear(const TRect* rects, int count, uint32_t flags, uint32_t colour, float z) = 0;
  virtual bool SetRenderTarget(T3DSurface* surface) = 0;
  virtual T3DSurface* GetRenderTarget() = 0;
  virtual T3DSurface* GetBackBuffer() = 0;
  // The rectangle must lie inside the current render target.
  virtual bool SetViewport(const TRect& rect, float minZ, float maxZ) = 0;
  virtual bool DrawVertexList(T3DTexture* const* textures, int count, uint32_t flags, T3DVertexList& list) = 0;
  virtual std::unique_ptr<T3DTexture> CreateTexture(TTextureKind kind, int width, bool mipMapped, int height) = 0;
  virtual std::unique_ptr<T3DVertexList> CreateVertexList(int vertexCount, uint32_t options, int textureSets) = 0;
  // Copies the first source rectangle into the first destination rectangle, scaling with
  // point sampling; no rectangles copies the whole surfaces.
  virtual bool StretchRect(T3DSurface& source, T3DSurface& dest, int count, const TRect* sourceRects,
                           const TRect* destRects) = 0;
  virtual bool SetBlendMode(TBlendMode mode) = 0;
  virtual bool SetTransform(TTransformKind kind, const TMatrix4& matrix) = 0;
  // true: both sides are drawn; false: counter-clockwise triangles are dropped.
  virtual bool SetCulling(bool noCulling) = 0;
  // Where texel centres lie relative to pixel centres: (0, 0) here.
  virtual void GetTexelOffset(float& x, float& y) = 0;
  // source: the body of a GLSL ES 3.00 fragment shader (see the renderer's documentation
  // of the declarations it may use); index: where SetPixelShader finds it.
  virtual bool CreatePixelShader(std::string_view source, int& index) = 0;
  virtual bool SetPixelShader(int index) = 0;
  virtual bool ResetPixelShader() = 0;
  virtual bool SetPixelShaderConstants(int startRegister, const float* data, int count) = 0;
  // The pixels of a surface as a Bgra32 bitmap; null on failure.
  virtual std::unique_ptr<TBitmap> CopyRenderTarget(T3DSurface& surface) = 0;
  // The pixels of a surface into target, of the surface's size in Bgra32 or Bgr24;
  // false on failure or another size.
  virtual bool CopyRenderTarget(T3DSurface& surface, TBitmap& target) = 0;
  // Lets go of the drawing context on the calling thread so another thread may draw.
  virtual void ReleaseContext() = 0;
  // The display's refresh rate in Hz, 0 when unknown.
  virtual int RefreshRate() = 0;
};

}  // namespace kiv
