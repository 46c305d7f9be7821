#pragma once
// The sound of an exported show, taken in step with its pictures. The renderer lays the
// show's mix on the track as its clock moves (the track is its tape), in frames of
// kOutputRate from the export's start; the export takes out the sound of frame k — from
// t(k) to t(k + 1), TExportTimeline::SoundOf(k) frames — once the picture of frame k + 1
// was drawn, since only then has the clock passed t(k + 1).
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "kivshow/render_sound.h"

namespace kiv {

class TExportSoundTrack : public ISoundTape {
 public:
  void WriteAt(uint64_t at, const std::vector<int16_t>& samples) override;
  // Writes frames from … from + count - 1 (2 × count samples) into frames, silence
  // where nothing was laid, and forgets everything before from + count.
  void Take(uint64_t from, size_t count, int16_t* frames);

 private:
  std::mutex FLock;
  std::vector<int16_t> FSamples;  // interleaved stereo
  uint64_t FFirst = 0;            // the frame FSamples starts at
};

}  // namespace kiv
