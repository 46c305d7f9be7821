#pragma once
// An animated slide that a custom transition plays: its pictures marked as effect
// buffers show the outgoing and the incoming slide while it is drawn.
#include "render/drawer/draw_item.h"

namespace kiv {

class IEffectSlide {
 public:
  virtual ~IEffectSlide() = default;
  virtual TDrawItem& Item() = 0;
  // Moves the slide to progress (0 … 1) of its own timeline.
  virtual void SetProgress(double progress) = 0;
};

}  // namespace kiv
