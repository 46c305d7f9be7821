#pragma once
// The gain of a physical channel while it fades: a per-frame ramp applied to PCM as it
// is copied out, rising to 1 when fading in and falling to 0 when fading out.
#include <cstddef>
#include <cstdint>

#include "sound/media_info.h"

namespace kiv {

class TGainRamp {
 public:
  // Frames of a fade of ms at rate: at least one.
  static uint32_t FadeFrames(uint32_t ms, uint32_t rate);

  // Starts from silence and rises over frames.
  void BeginFadeIn(uint32_t frames);
  // Falls from the present gain over frames (a full fade's step).
  void BeginFadeOut(uint32_t frames);

  // Scales count bytes of PCM (8 or 16 bits, frameBytes to a frame) frame by frame.
  // Answers the frame at which the gain reached 0 when fading out, else -1; from then
  // on everything is silence.
  int64_t Apply(uint8_t* bytes, size_t count, const TWaveFormat& format);

  float Gain() const { return FGain; }
  bool FadingIn() const { return FFadingIn; }
  bool FadingOut() const { return FFadingOut; }
  bool Silent() const { return FFadingOut && FGain <= 0; }

 private:
  float FGain = 1;
  float FStep = 0;
  bool FFadingIn = false;
  bool FFadingOut = false;
};

}  // namespace kiv
