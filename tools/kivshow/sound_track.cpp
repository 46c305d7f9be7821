#include "kivshow/sound_track.h"

#include <algorithm>

#include "platform/audio_output.h"

namespace kiv {

void TExportSoundTrack::WriteAt(uint64_t at, const std::vector<int16_t>& samples) {
  std::lock_guard lock(FLock);
  const uint64_t end = FFirst + FSamples.size() / kOutputChannels;
  size_t skip = 0;
  if (at > end)
    FSamples.resize(FSamples.size() + size_t(at - end) * kOutputChannels, 0);
  else
    skip = size_t(std::min<uint64_t>(end - at, samples.size() / kOutputChannels)) * kOutputChannels;
  FSamples.insert(FSamples.end(), samples.begin() + ptrdiff_t(skip), samples.end());
}

void TExportSoundTrack::Take(uint64_t from, size_t count, int16_t* frames) {
  std::lock_guard lock(FLock);
  std::fill_n(frames, count * kOutputChannels, int16_t(0));
  const uint64_t end = FFirst + FSamples.size() / kOutputChannels;
  const uint64_t first = std::max(from, FFirst), last = std::min(from + count, end);
  if (first < last)
    std::copy_n(FSamples.begin() + ptrdiff_t((first - FFirst) * kOutputChannels), size_t(last - first) * kOutputChannels,
                frames + (first - from) * kOutputChannels);
  // What lies before the next frame's sound is not asked for again.
  const uint64_t keepFrom = std::min(from + count, end);
  if (keepFrom > FFirst) {
    FSamples.erase(FSamples.begin(), FSamples.begin() + ptrdiff_t((keepFrom - FFirst) * kOutputChannels));
    FFirst = keepFrom;
  }
}

}  // namespace kiv
