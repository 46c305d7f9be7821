#pragma once
// A sound output on virtual time: nothing plays until the owner renders, and then the
// frames asked for are pulled at once, kept in memory and, when a file is named,
// written to it as a WAV file. Tests, offline rendering and export use it.
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <vector>

#include "platform/audio_output.h"

namespace kiv {

// Writes, where file stands, the 44-byte header of a WAV file of the output's format
// holding dataBytes of samples (capped where a WAV file's sizes end).
void WriteOutputWavHeader(std::FILE* file, uint64_t dataBytes);

class TVirtualAudioOutput : public IAudioOutput {
 public:
  // keep: hold every rendered frame in memory (Samples); wavFile: also write them there.
  explicit TVirtualAudioOutput(bool keep = true, std::filesystem::path wavFile = {});
  ~TVirtualAudioOutput() override;

  std::string Describe() const override { return "virtual"; }
  bool Start(TAudioPull pull) override;
  void Stop() override;
  uint64_t FramesPlayed() const override;

  // Pulls frameCount frames (silence while not started) and counts them as played.
  void Render(size_t frameCount);
  // Interleaved stereo samples rendered so far (when kept).
  std::vector<int16_t> Samples() const;
  // Completes the WAV file's header; later renders are no longer written.
  void CloseFile();

 private:
  mutable std::mutex FLock;
  TAudioPull FPull;
  bool FKeep;
  std::vector<int16_t> FSamples;
  std::vector<int16_t> FChunk;
  uint64_t FFrames = 0;
  std::FILE* FFile = nullptr;
  uint64_t FFileBytes = 0;
};

}  // namespace kiv
