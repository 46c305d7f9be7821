#pragma once
// The sound of an exported show, taken in step with its pictures. After the picture of
// frame k (show time t(k)) the export asks for the sound that plays from t(k) to
// t(k + 1): TExportTimeline::SoundOf(k) frames of interleaved signed 16-bit stereo at
// kOutputRate, counted from the export's start so that no rounding piles up.
//
// This is where the show's own sound joins an export. Once the renderer plays the show's
// sound into a virtual sound output (TVirtualAudioOutput) that follows its stepped
// clock, ShowSoundTrack answers a track whose Fill renders that output by frameCount
// frames and hands them on; until then every show exports with a silent track, so the
// files have the same streams either way.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace kiv {

class TShowRenderer;

class ISoundTrack {
 public:
  virtual ~ISoundTrack() = default;
  // Writes the next frameCount frames (2 × frameCount samples) into frames: all of
  // them, silence where nothing plays.
  virtual void Fill(int16_t* frames, size_t frameCount) = 0;
};

class TSilentSoundTrack : public ISoundTrack {
 public:
  void Fill(int16_t* frames, size_t frameCount) override;
};

// The sound track of the show renderer plays (see above: silent for now). renderer
// must outlive the track.
std::unique_ptr<ISoundTrack> ShowSoundTrack(TShowRenderer& renderer);

}  // namespace kiv
