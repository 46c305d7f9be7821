#include "engine/drawing_controller.h"

#include <algorithm>
#include <stdexcept>

#include "base/log.h"
#include "engine/container_slide_entry.h"
#include "engine/shown_slides.h"
#include "graphics/bitmap_scale.h"
#include "render/device/device_lock.h"
#include "render/device/draw_device.h"
#include "render/drawer/drawer_3d.h"
#include "render/drawer/kiv_filter.h"
#include "render/screen/screen_3d.h"

namespace kiv {

namespace {

// Stands for a slide that could not be built, and is the whole of an empty frame.
class TNothing : public TDrawItem {
 public:
  void Draw(TDeviceDrawer&) override {}
};

TDrawItem& Nothing() {
  static TNothing nothing;
  return nothing;
}

}  // namespace

TDrawingController::TDrawingController(T3DEngine& engine, TDrawDevice& device) : FEngine(engine), FDevice(device) {}

TDrawingController::~TDrawingController() {
  // The slides' textures and the transitions' objects live on the drawer: they go first.
  FRoot.SetFrame({});
  for (THeldSlide& held : FHeld) ReleaseSlide(*held.Entry);
  FHeld.clear();
}

void TDrawingController::SetFrameDrawn(TFrameDrawn observer) { FFrameDrawn = std::move(observer); }

void TDrawingController::Refresh() {
  FRefreshed = true;
  Log().Write("TKivDrawController.DeviceRefresh: DrawDevice Refresh!");
}

uint32_t TDrawingController::GetState() {
  uint32_t flags = FWindowActive ? uint32_t(kWindowActive) : 0u;
  if (FRefreshed.exchange(false)) flags |= kDeviceRefreshed;
  // The engine re-initialises only with a drawer that can draw again; the request is
  // taken in one step then, so that one made meanwhile is not lost.
  if (FDrawer && FDrawer->IsReady()) {
    flags |= kDrawerReady;
    if (FNeedsReinit.exchange(false)) flags |= kDeviceNeedsReinit;
  } else if (FNeedsReinit) {
    flags |= kDeviceNeedsReinit;
  }
  return flags;
}

TPixelSize TDrawingController::DeviceSize() {
  const TRect rect = FDevice.Rect();
  return {rect.Width(), rect.Height()};
}

void TDrawingController::EnsureDrawer() {
  if (FDrawer) return;
  FDrawer = std::make_unique<T3DDrawer>(FEngine, nullptr, [this] { FNeedsReinit = true; });
  FDrawer->SetFrameCallback([this](int code) {
    if (code == kFrameBegun) FFrameBegun = true;
    if (code == kFrameDrawn && FFrameDrawn) FFrameDrawn(FComposed.Time, *FDrawer);
  });
  FDrawer->Init(&FDevice);
}

// ---- Composing ---------------------------------------------------------------------

bool TDrawingController::Compose(const TSlideList& slides, double time, IThirdSlide* overlay) {
  HoldSlides(slides);
  FComposed = TFrameKey{};
  FComposed.Time = time;
  FShownSlides.clear();
  FOverlay = nullptr;
  FSlideArea = {};
  const std::optional<TShownSlides> shown = ShownSlidesAt(slides, time);
  if (!shown) {
    FRoot.SetFrame({});
    return false;
  }
  TFrameItems frame;
  for (size_t i = shown->Outgoing; i <= shown->Current; ++i) {
    THeldSlide& held = HeldFor(slides[i]);
    auto* entry = dynamic_cast<TContainerSlideEntry*>(held.Entry.get());
    TKivSlide* slide = entry ? entry->Container().Slide() : nullptr;
    if (entry) {
      // The newest slide stands at its end while the next one is not there yet.
      entry->Container().AdvanceContainer(i == shown->Current ? std::min(time, entry->Timing().EndTime) : time);
      if (FSlideArea == TPixelSize{}) {
        FSlideArea = {entry->SlideArea().Width, entry->SlideArea().Height};
        if (overlay) overlay->SetLayer(entry->SlideAreaRect());
      }
    }
    if (slide) FShownSlides.push_back(slide);
    frame.Slides.push_back(slide ? static_cast<TDrawItem*>(slide) : &Nothing());
  }
  if (shown->Changing()) frame.Transition = TransitionInto(HeldFor(slides[shown->Current]));
  frame.Overlay = overlay ? overlay->Item() : nullptr;
  FOverlay = frame.Overlay ? overlay : nullptr;
  FComposed.Slides = frame.Slides;
  FComposed.Overlay = frame.Overlay;
  FComposed.Transition = frame.Transition;
  FRoot.SetFrame(std::move(frame));
  return true;
}

void TDrawingController::HoldSlides(const TSlideList& slides) {
  const auto gone = std::stable_partition(FHeld.begin(), FHeld.end(), [&slides](const THeldSlide& held) {
    return std::find(slides.begin(), slides.end(), held.Entry) != slides.end();
  });
  // Slides made anew may take the places of those that went: what was drawn last can
  // no longer be told apart by its items.
  if (gone != FHeld.end() || slides.size() != size_t(gone - FHeld.begin())) FDrawn.reset();
  for (auto it = gone; it != FHeld.end(); ++it) ReleaseSlide(*it->Entry);
  FHeld.erase(gone, FHeld.end());
  for (const std::shared_ptr<IKivSlideEntry>& entry : slides) HeldFor(entry);
}

TDrawingController::THeldSlide& TDrawingController::HeldFor(const std::shared_ptr<IKivSlideEntry>& entry) {
  const auto found =
      std::find_if(FHeld.begin(), FHeld.end(), [&entry](const THeldSlide& held) { return held.Entry == entry; });
  if (found != FHeld.end()) return *found;
  return FHeld.emplace_back(THeldSlide{entry, nullptr});
}

TKivFilter* TDrawingController::TransitionInto(THeldSlide& held) {
  auto* entry = dynamic_cast<TContainerSlideEntry*>(held.Entry.get());
  if (!entry) return nullptr;
  const TDrawContainer& container = entry->Container();
  if (!held.Transition) {
    const TSlideEffect& effect = container.Transition();
    held.Transition = std::make_unique<TKivFilter>(effect.Class, effect.Type, effect.Params, effect.Duration);
    // The effect slide of a show's own transition was made with the slide, by the loader.
    // The filter goes before the entry it is held with.
    held.Transition->SetEffectSlides(
        [entry](std::u16string_view file, TPixelSize size) { return entry->TakeEffectSlide(file, size); });
  }
  held.Transition->SetTime(container.TransitionElapsed());
  return held.Transition.get();
}

bool TDrawingController::FrameChanged() {
  return !FDrawn || !(FComposed == *FDrawn) || (FOverlay && FOverlay->NeedsRedraw()) ||
         std::any_of(FShownSlides.begin(), FShownSlides.end(), [](const TKivSlide* slide) { return slide->NeedsRedraw(); });
}

// ---- Drawing -----------------------------------------------------------------------

void TDrawingController::Draw(TPixelSize size, const TFrameStyle& style) {
  if (!FDrawer) throw std::runtime_error("No drawer: the frame cannot be drawn");
  FStyle = style;
  const TPixelSize area = FSlideArea == TPixelSize{} ? size : FSlideArea;
  FDrawer->SetContentSize(area.Width, area.Height);
  FRoot.SetStyle(style);
  if (!DrawFrameItem(FRoot)) throw std::runtime_error("The drawer has no device to draw on yet");
  FDrawn = FComposed;
  for (TKivSlide* slide : FShownSlides) slide->Snapshot(true);
}

void TDrawingController::DrawEmpty(uint32_t hiderColor) {
  FStyle.HiderColor = hiderColor;
  if (FDrawer) DrawFrameItem(Nothing());
}

bool TDrawingController::DrawFrameItem(TDrawItem& item) {
  FDrawer->SetHiderColour(FStyle.HiderColor);
  TDeviceLockGuard lock;
  FFrameBegun = false;
  FDrawer->Draw(item);
  FDrawer->Screen().ReleaseContext();
  return FFrameBegun;
}

void TDrawingController::ReleaseSlide(IKivSlideEntry& entry) {
  auto* container = dynamic_cast<TContainerSlideEntry*>(&entry);
  TKivSlide* slide = container ? container->Container().Slide() : nullptr;
  if (!slide || !FDrawer) return;
  TDeviceLockGuard lock;
  slide->ReleaseDeviceObjects(*FDrawer);
  FDrawer->Screen().ReleaseContext();
}

void TDrawingController::PreloadSlide(IKivSlideEntry& slide, double) {
  if (auto* entry = dynamic_cast<TContainerSlideEntry*>(&slide)) entry->LoadResources();
}

std::unique_ptr<TBitmap> TDrawingController::RenderSnapshot(const TSlideList& slides, double time) {
  if (!FDrawer || !Compose(slides, time, nullptr)) return nullptr;
  const TPixelSize device = DeviceSize();
  std::unique_ptr<TBitmap> picture;
  try {
    Draw(device, FStyle);
    TDeviceLockGuard lock;
    picture = FDrawer->CaptureFrame();
    FDrawer->Screen().ReleaseContext();
    // The slides only: the bars of the hider colour around them are the window's.
    const TRect target = FDrawer->GetTargetRect(), content = FDrawer->ContentRect();
    if (picture && !(content == target))
      picture = CropBitmap(*picture, content.Left - target.Left, content.Top - target.Top, content.Width(),
                           content.Height());
  } catch (const std::exception& failure) {
    Log().Write(std::string("TKivDrawController.RenderSnapshot: ") + failure.what());
  }
  return picture;
}

}  // namespace kiv
