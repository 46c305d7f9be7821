#pragma once
// The machine's sound output. An output pulls mixed sound from a callback on a thread
// of its own, as interleaved signed 16-bit stereo at 44100 Hz, and counts the frames it
// has played, which is what every sound clock of the program follows.
//
// Back ends are registered side by side by name: "sdl" plays on the system's sound
// server (PulseAudio, PipeWire or ALSA, whatever SDL finds), "virtual" plays into memory
// as fast as it is told to (tests, offline rendering and export).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

constexpr uint32_t kOutputRate = 44100;
constexpr uint32_t kOutputChannels = 2;
constexpr uint32_t kOutputFrameBytes = kOutputChannels * 2;

// Writes frameCount frames (frameCount × 2 samples) into frames; everything must be
// written (silence where there is nothing to play).
using TAudioPull = std::function<void(int16_t* frames, size_t frameCount)>;

class IAudioOutput {
 public:
  virtual ~IAudioOutput() = default;
  // What plays the sound: "sdl:pulseaudio", "sdl:disk", "virtual".
  virtual std::string Describe() const = 0;
  // Begins pulling from pull; false when the output cannot play.
  virtual bool Start(TAudioPull pull) = 0;
  // Ends pulling: once it returns, pull is not called again.
  virtual void Stop() = 0;
  // Frames played since the output was made (never goes back).
  virtual uint64_t FramesPlayed() const = 0;
};

// Makes an output, or none with the reason written to reason.
using TAudioOutputFactory = std::function<std::unique_ptr<IAudioOutput>(std::string& reason)>;

// Adds or replaces the back end called name.
void RegisterAudioOutput(std::string name, TAudioOutputFactory factory);
std::vector<std::string> AudioOutputNames();

// The output of back end name ("sdl" when empty), or none: the back end is unknown, or
// the machine has no sound device for it. reason then says why, for the log.
std::unique_ptr<IAudioOutput> OpenAudioOutput(std::string_view name = {}, std::string* reason = nullptr);

}  // namespace kiv
