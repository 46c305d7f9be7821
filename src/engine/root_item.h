#pragma once
// One frame of the show as the viewer draws it: the visible slides in order (the
// outgoing slide first) with the overlay last, finished with the show's sharpening and
// the colour around the slide area.
#include <vector>

#include "engine/draw_controller.h"
#include "render/drawer/draw_item.h"

namespace kiv {

class TKivFilter;

struct TFrameItems {
  std::vector<TDrawItem*> Slides;  // not owned
  TDrawItem* Overlay = nullptr;    // drawn on top, outside the sharpening pass; none: no overlay
  // The change from Slides[0] to Slides[1]; none: every slide is drawn plainly.
  TKivFilter* Transition = nullptr;
  // The pair is the current slide and the next one, whose change has not begun: the
  // current slide is drawn alone.
  bool Outgoing = false;
};

class TRootItem : public TDrawItem {
 public:
  // fillBorders: the bars around the slide area take the hider colour.
  explicit TRootItem(bool fillBorders = true) : FFillBorders(fillBorders) {}

  // The items stay the caller's and must live until the next frame is set.
  void SetFrame(TFrameItems frame) { FFrame = std::move(frame); }
  void SetStyle(const TFrameStyle& style) { FStyle = style; }

  // Sharpening pass, slides (through the transition when there is one), end of the pass,
  // borders, overlay. A failure is logged and swallowed: a failing slide does not keep
  // the pass from ending nor the overlay from being drawn.
  void Draw(TDeviceDrawer& drawer) override;

 private:
  void DrawSlides(TDeviceDrawer& drawer);

  bool FFillBorders;
  TFrameItems FFrame;
  TFrameStyle FStyle;
};

}  // namespace kiv
