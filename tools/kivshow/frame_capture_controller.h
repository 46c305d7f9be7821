#pragma once
// The drawing controller of a render: it passes everything to the controller that draws
// into the window, and catches the frame of one wanted show time, drawn once every slide
// on screen at that time is in the engine's slide list (the loader hands over only
// slides it has prepared). It also tells the renderer which show time the engine
// composed last, so that the renderer can move the clock to the next wanted time.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "engine/draw_controller.h"
#include "model/visible_slides.h"

namespace kiv {

class T3DDrawer;

class TFrameCaptureController : public IKivDrawController {
 public:
  // The latest frame the engine composed: how many it composed so far, and the time.
  struct TComposed {
    int64_t Count = 0;
    double Time = -1;
  };

  // show: the show the engine plays (the same project), for which slides are on screen
  // when; kept, not owned.
  TFrameCaptureController(std::unique_ptr<IKivDrawController> inner, const TKivSource& show);

  // A render has no other window to lose the focus to: the window is always active.
  uint32_t GetState() override;
  TPixelSize DeviceSize() override { return FInner->DeviceSize(); }
  void EnsureDrawer() override { FInner->EnsureDrawer(); }
  bool Compose(const TSlideList& slides, double time, IThirdSlide* overlay) override;
  // While a frame is wanted, only that frame is drawn, once complete, even when it
  // looks like the frame before; the frames the engine composes on the way are not.
  bool FrameChanged() override;
  void Draw(TPixelSize size, const TFrameStyle& style) override { FInner->Draw(size, style); }
  void DrawEmpty(uint32_t hiderColor) override;
  void PreloadSlide(IKivSlideEntry& slide, double slideTime) override { FInner->PreloadSlide(slide, slideTime); }
  std::unique_ptr<TBitmap> RenderSnapshot(const TSlideList& slides, double time) override {
    return FInner->RenderSnapshot(slides, time);
  }

  // The inner controller's report of a drawn frame (drawing thread).
  void FrameDrawn(double showTime, T3DDrawer& drawer);

  // Renderer side, any thread. Wants the frame of ms from now on, read back from the
  // device when readBack (a frame not yet taken is dropped).
  void Want(double ms, bool readBack);
  TComposed LastComposed() const;
  // Once the wanted frame was drawn (waiting at most wait for it, or until the engine
  // composes again): the frame, null when it was not to be read back; none before.
  std::optional<std::unique_ptr<TBitmap>> TakeFrame(std::chrono::milliseconds wait);

 private:
  // Every slide on screen at time is in slides (engine thread).
  bool HoldsSlidesShownAt(const TSlideList& slides, double time);
  bool IsWanted(double time) const;

  std::unique_ptr<IKivDrawController> FInner;
  const TKivSource& FShow;
  TVisibleSlideFinder FVisible;  // engine thread only

  mutable std::mutex FLock;
  std::condition_variable FCaught;
  bool FWanting = false;
  double FWanted = 0;
  bool FReadBack = true;
  bool FComposedComplete = false;  // the last composed frame is the wanted one, complete
  TComposed FComposed;
  std::optional<std::unique_ptr<TBitmap>> FFrame;  // set once the wanted frame was drawn
};

}  // namespace kiv
