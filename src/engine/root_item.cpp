#include "engine/root_item.h"

#include <exception>
#include <functional>
#include <string>

#include "base/log.h"
#include "render/drawer/device_drawer.h"

namespace kiv {

namespace {

void Guarded(const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception& failure) {
    Log().Write(std::string("TRootItem.Draw failed: ") + failure.what());
  }
}

}  // namespace

void TRootItem::Draw(TDeviceDrawer& drawer) {
  bool sharpening = false;
  Guarded([&] {
    if (FStyle.UnsharpAmount > 0) {
      drawer.BeginPostProcess();
      sharpening = true;
    }
    DrawSlides(drawer);
  });
  Guarded([&] {
    if (sharpening) drawer.EndPostProcess(FStyle.UnsharpThreshold, float(FStyle.UnsharpAmount));
    if (FFillBorders) drawer.FillBorders(FStyle.HiderColor);
  });
  if (FFrame.Overlay) Guarded([&] { drawer.Draw(*FFrame.Overlay); });
}

void TRootItem::DrawSlides(TDeviceDrawer& drawer) {
  const std::vector<TDrawItem*>& slides = FFrame.Slides;
  size_t next = 0;
  if (FFrame.Transition && slides.size() >= 2) {
    drawer.DrawTransition(*slides[0], *slides[1], FFrame.Outgoing, FFrame.Transition);
    next = 2;
  }
  for (; next < slides.size(); ++next) drawer.Draw(*slides[next]);
}

}  // namespace kiv
