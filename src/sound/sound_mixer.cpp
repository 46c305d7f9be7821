#include "sound/sound_mixer.h"

#include <algorithm>

#include "platform/audio_output.h"
#include "sound/wave_out_buffer.h"

namespace kiv {

void TSoundMixer::Add(TWaveOutBuffer* buffer) {
  std::lock_guard lock(FLock);
  if (std::find(FBuffers.begin(), FBuffers.end(), buffer) == FBuffers.end()) FBuffers.push_back(buffer);
}

void TSoundMixer::Remove(TWaveOutBuffer* buffer) {
  std::lock_guard lock(FLock);
  std::erase(FBuffers, buffer);
}

size_t TSoundMixer::Count() const {
  std::lock_guard lock(FLock);
  return FBuffers.size();
}

void TSoundMixer::Mix(int16_t* frames, size_t frameCount) {
  std::lock_guard lock(FLock);
  const size_t samples = frameCount * kOutputChannels;
  FSum.assign(samples, 0);
  for (TWaveOutBuffer* buffer : FBuffers) buffer->MixInto(FSum.data(), frameCount);
  for (size_t i = 0; i < samples; ++i) frames[i] = int16_t(std::clamp<int32_t>(FSum[i], -32768, 32767));
}

void TSoundMixer::Settle() {
  std::lock_guard lock(FLock);
  for (TWaveOutBuffer* buffer : FBuffers) buffer->Refill();
}

}  // namespace kiv
