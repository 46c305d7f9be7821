#include "kivshow/sound_track.h"

#include <algorithm>

#include "platform/audio_output.h"

namespace kiv {

void TSilentSoundTrack::Fill(int16_t* frames, size_t frameCount) {
  std::fill_n(frames, frameCount * kOutputChannels, int16_t(0));
}

std::unique_ptr<ISoundTrack> ShowSoundTrack(TShowRenderer&) { return std::make_unique<TSilentSoundTrack>(); }

}  // namespace kiv
