#include "render/transitions/slide_filter.h"

namespace kiv {

TPointF TSlideFilter::From() const {
  switch (EffectType()) {
    case 2: return {1, 0};
    case 3: return {0, -1};
    case 4: return {0, 1};
    default: return {-1, 0};
  }
}

TPointF TSlideFilter::Across(float part) const {
  const TPointF from = From();
  return {from.X * part * float(Rect().Width()), from.Y * part * float(Rect().Height())};
}

void TSlideFilter::Draw(TEffectCanvas& canvas) { canvas.WholeSlide(Across(float(1 - Progress())), 255); }

// The outgoing slide leaves on the other side, one slide ahead of the incoming one.
TPointF TPushFilter::PushOffset() const { return Across(-float(Progress())); }

}  // namespace kiv
