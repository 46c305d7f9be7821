#include "sound/gain_ramp.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kiv {

uint32_t TGainRamp::FadeFrames(uint32_t ms, uint32_t rate) {
  return std::max<uint32_t>(1, uint32_t(uint64_t(ms) * rate / 1000));
}

void TGainRamp::BeginFadeIn(uint32_t frames) {
  FGain = 0;
  FStep = 1.0f / float(std::max<uint32_t>(frames, 1));
  FFadingIn = true;
  FFadingOut = false;
}

void TGainRamp::BeginFadeOut(uint32_t frames) {
  FStep = 1.0f / float(std::max<uint32_t>(frames, 1));
  FFadingIn = false;
  FFadingOut = true;
}

int64_t TGainRamp::Apply(uint8_t* bytes, size_t count, const TWaveFormat& format) {
  if (!FFadingIn && !FFadingOut) return -1;  // copied unchanged
  const size_t channels = std::max<uint16_t>(format.Channels, 1);
  const size_t sampleBytes = format.Bits == 8 ? 1 : 2;
  const size_t frameBytes = channels * sampleBytes;
  const size_t frames = count / frameBytes;
  // Silence is 0 for 16-bit samples, the midpoint 128 for 8-bit ones.
  const uint8_t silence = sampleBytes == 1 ? 128 : 0;
  if (FFadingOut && FGain <= 0) {
    std::memset(bytes, silence, frames * frameBytes);
    return -1;  // silent already
  }
  for (size_t frame = 0; frame < frames; ++frame) {
    if (FFadingIn) {
      FGain += FStep;
      if (FGain >= 1) {
        FGain = 1;
        FFadingIn = false;
      }
    } else if (FFadingOut && FGain > 0) {
      FGain -= FStep;
      if (FGain <= 0) FGain = 0;
    }
    if (FFadingOut && FGain <= 0) {
      std::memset(bytes + frame * frameBytes, silence, (frames - frame) * frameBytes);
      return int64_t(frame);  // silent from here on
    }
    uint8_t* at = bytes + frame * frameBytes;
    for (size_t c = 0; c < channels; ++c) {
      if (sampleBytes == 1) {
        const int value = int(at[c]) - 128;
        at[c] = uint8_t(std::clamp<long>(std::lround(FGain * float(value)) + 128, 0, 255));
      } else {
        int16_t value;
        std::memcpy(&value, at + 2 * c, 2);
        value = int16_t(std::lround(FGain * float(value)));
        std::memcpy(at + 2 * c, &value, 2);
      }
    }
    if (!FFadingIn && !FFadingOut) {
      return -1;  // the fade-in is complete: the rest is copied unchanged
    }
  }
  return -1;
}

}  // namespace kiv
