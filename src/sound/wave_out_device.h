#pragma once
// The sound device: the machine's sound output, pulling its mix from the software mixer.
// Without an output it is not ready, makes no buffers, and the show runs silent.
#include <memory>
#include <string>

#include "platform/audio_output.h"
#include "sound/media_info.h"

namespace kiv {

class TSoundMixer;
class TWaveOutBuffer;
class TTimerChannel;

class TWaveOutDevice {
 public:
  // output may be none; it is started here and stopped when the device goes.
  explicit TWaveOutDevice(std::unique_ptr<IAudioOutput> output);
  ~TWaveOutDevice();
  TWaveOutDevice(const TWaveOutDevice&) = delete;
  TWaveOutDevice& operator=(const TWaveOutDevice&) = delete;

  bool IsReady() const { return FReady; }
  std::string Describe() const;

  // A stream buffer in format (PCM at 8 or 16 bits); none when not ready.
  std::unique_ptr<TWaveOutBuffer> CreateBuffer(const TWaveFormat& format);
  // The sound clock; none when not ready.
  std::unique_ptr<TTimerChannel> CreateTimerChannel();

  // Frames the output has played: the play cursor of the timer channel.
  uint64_t FramesPlayed() const;
  // Refills every playing buffer on the calling thread (rendering on virtual time).
  void Settle();
  TSoundMixer& Mixer() { return *FMixer; }

 private:
  std::shared_ptr<TSoundMixer> FMixer;
  std::unique_ptr<IAudioOutput> FOutput;
  bool FReady = false;
};

}  // namespace kiv
