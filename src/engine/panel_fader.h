#pragma once
// The opacity of the navigation panel as it hides and comes back: each change fades
// over its own time, and a change in the middle of a fade goes on from the opacity
// reached. Reads the process clock.
#include <cstdint>

namespace kiv {

class TPanelFader {
 public:
  TPanelFader(uint32_t fadeInMs, uint32_t fadeOutMs) : FFadeIn(fadeInMs), FFadeOut(fadeOutMs) {}

  // Per frame, with whether the panel is to be hidden; true when the opacity changed by
  // more than 0.001 since the last call.
  bool Update(bool hide);
  // Hidden at once, without a fade.
  void HideNow();
  double Opacity() const { return FOpacity; }  // percent
  bool Hidden() const { return FHiding && FOpacity <= 0; }

 private:
  uint32_t FFadeIn;
  uint32_t FFadeOut;
  bool FHiding = false;
  double FOpacity = 100;
  double FFrom = 100;      // opacity the running fade started at
  uint32_t FStart = 0;     // ms, process clock
  uint32_t FDuration = 0;  // of the running fade; 0: none runs
};

}  // namespace kiv
