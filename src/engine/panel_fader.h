#pragma once
// The opacity of the navigation panel as it hides and comes back: each change fades
// over its own time, and a change in the middle of a fade goes on from the opacity
// reached. Reads the process clock, or the clock it is given.
#include <cstdint>

#include "base/clock.h"

namespace kiv {

class TPanelFader {
 public:
  // clock: none for the process clock (not owned).
  TPanelFader(uint32_t fadeInMs, uint32_t fadeOutMs, IClock* clock = nullptr)
      : FFadeIn(fadeInMs), FFadeOut(fadeOutMs), FClock(clock) {}

  // Per frame, with whether the panel is to be hidden; true when the opacity changed by
  // more than 0.001 since the last call.
  bool Update(bool hide) { return Update(hide, Now()); }
  // The same, with when the wish to hide or show began: a fade that starts now runs as
  // if it had started then, though never before the previous call.
  bool Update(bool hide, uint32_t since);
  // Hidden at once, without a fade.
  void HideNow();
  double Opacity() const { return FOpacity; }  // percent
  bool Hidden() const { return FHiding && FOpacity <= 0; }

 private:
  uint32_t Now() const { return FClock ? FClock->NowMs() : Clock().NowMs(); }

  uint32_t FFadeIn;
  uint32_t FFadeOut;
  IClock* FClock;
  bool FHiding = false;
  double FOpacity = 100;
  double FFrom = 100;      // opacity the running fade started at
  uint32_t FStart = 0;     // ms
  uint32_t FDuration = 0;  // of the running fade; 0: none runs
  bool FLooked = false;    // the fader was updated before, at FLastLook
  uint32_t FLastLook = 0;  // ms
};

}  // namespace kiv
