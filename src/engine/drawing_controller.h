#pragma once
// The drawing controller of a window with a slide drawer: on the engine's thread (the
// drawing thread) it composes each frame from the slide list (the slides advanced to
// the show time, the transition between them, the overlay on top) and draws it into the
// window's device through one T3DDrawer.
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/draw_controller.h"
#include "engine/root_item.h"

namespace kiv {

class T3DEngine;
class T3DDrawer;
class TDrawDevice;
class TKivFilter;
class TKivSlide;

class TDrawingController : public IKivDrawController {
 public:
  // Called on the drawing thread after each frame was drawn (before it is presented
  // away), with the show time it shows: the frame can be read back from drawer there.
  using TFrameDrawn = std::function<void(double showTime, T3DDrawer& drawer)>;

  // engine and device (the output window) are not owned and outlive the controller.
  // The drawer is made on the thread that first calls EnsureDrawer.
  TDrawingController(T3DEngine& engine, TDrawDevice& device);
  ~TDrawingController() override;
  TDrawingController(const TDrawingController&) = delete;
  TDrawingController& operator=(const TDrawingController&) = delete;

  void SetFrameDrawn(TFrameDrawn observer);

  // Any thread: what the window tells about itself. An inactive window may pause the
  // show; a refresh asks for the frame to be drawn again (the window was uncovered or
  // changed its size).
  void SetWindowActive(bool active) { FWindowActive = active; }
  void Refresh();

  uint32_t GetState() override;
  TPixelSize DeviceSize() override;
  void EnsureDrawer() override;
  bool Compose(const TSlideList& slides, double time, IThirdSlide* overlay) override;
  bool FrameChanged() override;
  // Fails when the drawer has no device to draw on yet (its renderer is being made).
  void Draw(TPixelSize size, const TFrameStyle& style) override;
  void DrawEmpty(uint32_t hiderColor) override;
  // Loads the slide's pictures on the calling thread; the device textures are made
  // when the slide is first drawn, on the drawing thread.
  void PreloadSlide(IKivSlideEntry& slide, double slideTime) override;
  std::unique_ptr<TBitmap> RenderSnapshot(const TSlideList& slides, double time) override;

 private:
  // An entry of the slide list with the transition into it, kept while the engine's
  // list holds the entry.
  struct THeldSlide {
    std::shared_ptr<IKivSlideEntry> Entry;
    std::unique_ptr<TKivFilter> Transition;
  };
  // What a drawn frame was made of, to tell whether the next one differs.
  struct TFrameKey {
    double Time = -1;
    std::vector<TDrawItem*> Slides;
    TDrawItem* Overlay = nullptr;
    TKivFilter* Transition = nullptr;
    bool operator==(const TFrameKey&) const = default;
  };

  // Holds the entries of slides; the slides that left the list hand their textures back.
  void HoldSlides(const TSlideList& slides);
  THeldSlide& HeldFor(const std::shared_ptr<IKivSlideEntry>& entry);
  // The slide's transition at the time it was advanced to; none without one.
  TKivFilter* TransitionInto(THeldSlide& held);
  // Draws item as one frame under the device lock and hands the context back
  // afterwards, so that the main thread may make renderers between frames. False when
  // nothing could be drawn.
  bool DrawFrameItem(TDrawItem& item);
  void ReleaseSlide(IKivSlideEntry& entry);

  T3DEngine& FEngine;
  TDrawDevice& FDevice;
  std::atomic<bool> FWindowActive{true};
  std::atomic<bool> FRefreshed{false};
  std::atomic<bool> FNeedsReinit{false};

  // Drawing thread.
  TFrameDrawn FFrameDrawn;
  std::vector<THeldSlide> FHeld;
  std::vector<TKivSlide*> FShownSlides;
  IThirdSlide* FOverlay = nullptr;  // the overlay of the composed frame, while it draws anything
  TRootItem FRoot;
  TFrameKey FComposed;
  std::optional<TFrameKey> FDrawn;  // none: the next frame is drawn whatever it holds
  TPixelSize FSlideArea;  // empty: the size Draw is given
  TFrameStyle FStyle;
  bool FFrameBegun = false;
  // Declared last: its callbacks refer to the members above.
  std::unique_ptr<T3DDrawer> FDrawer;
};

}  // namespace kiv
