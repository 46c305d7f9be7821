#pragma once
// What a transition object (made by the transition factory from a slide change's class,
// type and parameters) offers the drawer. The drawer decides which slide is rendered
// into its effecter and in which order; the object draws from what the effecter holds.
#include <cstdint>

#include "render/drawer/device_drawer.h"

namespace kiv {

class T3DDrawer;

// How the slides of a change take part in the effect.
enum class TEffectPass : uint8_t {
  Common,     // one slide plainly, the other through the effect
  Overturn,   // one card: the outgoing slide until halfway, the incoming one after
  TwoSlides,  // both slides through the effect, their order changing halfway
  Push,       // the outgoing slide moved by an offset, the incoming one through the effect
  Custom,     // an animated effect slide showing both slides from the effecter's two targets
};

// What the effecter holds when the effect is drawn.
enum class TEffectSlide : uint8_t { Outgoing, Incoming, Both };

class TDrawFilter {
 public:
  virtual ~TDrawFilter() = default;

  // t: ms since the change began.
  virtual void SetTime(double t) = 0;
  virtual TEffectPass Pass() const { return TEffectPass::Common; }
  // The effect acts on the outgoing slide.
  virtual bool Reverse() const { return false; }
  // Push: how far the outgoing slide is moved at the current time, in pixels.
  virtual TPointF PushOffset() const { return {}; }
  // Draws into the frame from the drawer's effecter: slide tells what it holds, the
  // outgoing or the incoming slide just rendered into its current target, or (custom
  // passes) the outgoing slide in its current target and the incoming one in the other.
  virtual void DrawEffect(T3DDrawer& drawer, TEffectSlide slide) = 0;
};

}  // namespace kiv
