#pragma once
// Drawing on offscreen OpenGL ES (Mesa llvmpipe through SDL's offscreen driver): no display
// is needed. Every test process shares one engine made on its main thread.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/log.h"

#include "graphics/bitmap.h"
#include "render/device/draw_device.h"
#include "render/device/engine_gl.h"
#include "render/device/output_window.h"
#include "support/pixels.h"

namespace kiv::testing {

inline T3DEngineGL& TestEngine() {
  static std::unique_ptr<T3DEngineGL> engine = T3DEngineGL::Create(TVideoMode::Offscreen);
  if (!engine) ADD_FAILURE() << "no offscreen OpenGL ES engine";
  return *engine;
}

// Installed as the process log for its lifetime; keeps every line.
class TCaptureLog : public TLog {
 public:
  bool Enabled() const override { return true; }
  bool Contains(std::string_view text) {
    std::lock_guard<std::mutex> lock(FLock);
    for (const std::string& line : FLines)
      if (line.find(text) != std::string::npos) return true;
    return false;
  }

 protected:
  void WriteRawLine(std::string_view line) override {
    std::lock_guard<std::mutex> lock(FLock);
    FLines.emplace_back(line);
  }

 private:
  std::mutex FLock;
  std::vector<std::string> FLines;
};

class TLogCapture {
 public:
  TLogCapture() {
    auto log = std::make_unique<TCaptureLog>();
    FLog = log.get();
    SetLog(std::move(log));
  }
  ~TLogCapture() { SetLog(nullptr); }
  bool Contains(std::string_view text) { return FLog->Contains(text); }

 private:
  TCaptureLog* FLog;
};

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
