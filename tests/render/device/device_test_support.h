#pragma once
// Drawing on offscreen OpenGL ES (Mesa llvmpipe through SDL's offscreen driver): no display
// is needed. Every test process shares one engine made on its main thread.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "render/device/draw_device.h"
#include "render/device/engine_gl.h"
#include "render/device/output_window.h"
#include "support/log_capture.h"
#include "support/pixels.h"

namespace kiv::testing {

inline T3DEngineGL& TestEngine() {
  static std::unique_ptr<T3DEngineGL> engine = T3DEngineGL::Create(TVideoMode::Offscreen);
  if (!engine) ADD_FAILURE() << "no offscreen OpenGL ES engine";
  return *engine;
}

struct TTestWindow {
  TOutputWindowPtr Window;
  std::unique_ptr<TDrawDevice> Device;
};

inline TTestWindow MakeTestWindow(int width, int height, int left = 0, int top = 0) {
  TestEngine();
  TTestWindow made;
  const TRect rect{left, top, left + width, top + height};
  made.Window = CreateDrawWindow(rect, "test");
  made.Device = std::make_unique<TDrawDevice>(made.Window.get(), rect);
  return made;
}

// An opaque Bgra32 picture in which neighbouring pixels differ in every channel.
inline std::unique_ptr<TBitmap> MakePattern(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>(width, height, TPixelFormat::Bgra32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      SetPixel(*bitmap, x, y, 0xFF000000u | uint32_t((x * 7 + y * 3) & 0xFF) << 16 |
                                 uint32_t((x * 13 + y * 29) & 0xFF) << 8 | uint32_t((x ^ y) * 5 & 0xFF));
  return bitmap;
}

}  // namespace kiv::testing
