#pragma once
// The drawing controller of a window without a slide drawer: frames are composed and
// counted but nothing is painted. The window's activity and size are set from outside.
#include <atomic>

#include "engine/draw_controller.h"

namespace kiv {

class TNoDrawerController : public IKivDrawController {
 public:
  explicit TNoDrawerController(TPixelSize deviceSize = {640, 480}) : FWidth(deviceSize.Width), FHeight(deviceSize.Height) {}

  uint32_t GetState() override;
  TPixelSize DeviceSize() override { return {FWidth.load(), FHeight.load()}; }
  void EnsureDrawer() override {}
  bool Compose(const TSlideList& slides, double time, IThirdSlide* overlay) override;
  bool FrameChanged() override { return FChanged; }
  void Draw(TPixelSize size, const TFrameStyle& style) override;
  void DrawEmpty(uint32_t) override {}
  void PreloadSlide(IKivSlideEntry& slide, double slideTime) override;
  std::unique_ptr<TBitmap> RenderSnapshot(const TSlideList&, double) override { return nullptr; }

  // Any thread.
  void SetWindowActive(bool active) { FWindowActive = active; }
  // A new size asks the engine to re-initialise, as a changed device does.
  void SetDeviceSize(TPixelSize size);
  int FramesDrawn() const { return FFramesDrawn.load(); }
  int SlidesPreloaded() const { return FSlidesPreloaded.load(); }
  TPixelSize LastDrawSize() const { return {FDrawWidth.load(), FDrawHeight.load()}; }

 private:
  std::atomic<bool> FWindowActive{true};
  std::atomic<bool> FNeedsReinit{false};
  std::atomic<int32_t> FWidth;
  std::atomic<int32_t> FHeight;
  std::atomic<int32_t> FDrawWidth{0};
  std::atomic<int32_t> FDrawHeight{0};
  std::atomic<int> FFramesDrawn{0};
  std::atomic<int> FSlidesPreloaded{0};
  // Engine thread only.
  double FComposedTime = -1;
  bool FChanged = false;
};

}  // namespace kiv
