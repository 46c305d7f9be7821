#include "sound/wave_out_device.h"

#include "sound/output_trace.h"
#include "sound/sound_mixer.h"
#include "sound/timer_channel.h"
#include "sound/wave_out_buffer.h"

namespace kiv {

TWaveOutDevice::TWaveOutDevice(std::unique_ptr<IAudioOutput> output)
    : FMixer(std::make_shared<TSoundMixer>()), FOutput(std::move(output)) {
  if (!FOutput) {
    TOutputTrace::Missing("AudioOutput = nil", "wave_out_device");
    return;
  }
  // The mixer outlives the device while buffers still hold it.
  std::shared_ptr<TSoundMixer> mixer = FMixer;
  TOutputTrace trace("AudioOutput.Start", "wave_out_device");
  FReady = FOutput->Start([mixer](int16_t* frames, size_t count) { mixer->Mix(frames, count); });
  if (!FReady) trace.Failed();
}

TWaveOutDevice::~TWaveOutDevice() {
  if (!FOutput) return;
  TOutputTrace trace("AudioOutput.Stop", "wave_out_device");
  FOutput->Stop();
}

std::string TWaveOutDevice::Describe() const { return FOutput ? FOutput->Describe() : "none"; }

std::unique_ptr<TWaveOutBuffer> TWaveOutDevice::CreateBuffer(const TWaveFormat& format) {
  if (!FReady) return nullptr;
  if (format.Bits != 8 && format.Bits != 16) return nullptr;
  if (format.Channels < 1 || format.Channels > 2 || format.Rate == 0) return nullptr;
  return std::make_unique<TWaveOutBuffer>(FMixer, format);
}

std::unique_ptr<TTimerChannel> TWaveOutDevice::CreateTimerChannel() {
  if (!FReady) return nullptr;
  return std::make_unique<TTimerChannel>(*this);
}

uint64_t TWaveOutDevice::FramesPlayed() const { return FOutput ? FOutput->FramesPlayed() : 0; }

void TWaveOutDevice::Settle() { FMixer->Settle(); }

}  // namespace kiv
