#include "sound/music_player_class.h"

#include <algorithm>

#include "base/log.h"
#include "sound/channel_music.h"
#include "sound/output_trace.h"
#include "sound/timer_channel.h"
#include "sound/wave_out_device.h"

namespace kiv {

TMusicPlayerClass::TMusicPlayerClass(std::unique_ptr<IAudioOutput> output, TSoundSource source,
                                     std::string_view reason)
    : FDevice(std::make_unique<TWaveOutDevice>(std::move(output))), FSource(std::move(source)) {
  if (FDevice->IsReady()) {
    Log().Write("Sound output: " + FDevice->Describe());
  } else {
    Log().Write("Sound output: none (" + std::string(reason.empty() ? "no sound device" : reason) +
                "); the show runs silent");
  }
}

TMusicPlayerClass::~TMusicPlayerClass() {
  {
    std::lock_guard lock(FTimerLock);
    FTimer.reset();
  }
  if (ChannelCount() > 0) Log().WriteValue("Sound: channels left at the player's end: ", int64_t(ChannelCount()));
}

bool TMusicPlayerClass::IsReady() const { return FDevice->IsReady(); }

float TMusicPlayerClass::GetVolume() const {
  std::lock_guard lock(FLock);
  return FMaster;
}

void TMusicPlayerClass::SetVolume(float factor) {
  std::lock_guard lock(FLock);  // then each channel's lock
  FMaster = factor;
  for (TChannelMusic* channel : FChannels) channel->SetMasterVolume(factor);
}

TTimerChannel* TMusicPlayerClass::Timer() {
  std::lock_guard lock(FTimerLock);
  if (!FTimer && !FTimerMissing) {
    FTimer = FDevice->CreateTimerChannel();
    // Without a timer the show keeps the program clock; said once.
    if (!FTimer && FDevice->IsReady()) TOutputTrace::Missing("SoundBuffer = nil", "music_player_class");
    FTimerMissing = !FTimer;
  }
  return FTimer.get();
}

double TMusicPlayerClass::GetTime() {
  TTimerChannel* timer = Timer();
  if (!timer) return 0;
  if (!timer->IsPlaying()) timer->Play();
  return timer->GetTime();
}

std::unique_ptr<TChannelMusic> TMusicPlayerClass::CreateChannel(std::u16string_view name, double startMs) {
  if (!IsReady()) return nullptr;
  const auto media = FSource.Describe(name);
  if (!media) return nullptr;
  auto channel = std::make_unique<TChannelMusic>(*this, name, *media);
  if (!channel->Ok()) return nullptr;
  std::lock_guard lock(FLock);
  if (FMaster != 1.0f) channel->SetMasterVolume(FMaster);
  if (startMs != -1) channel->SetPosition(startMs);
  FChannels.push_back(channel.get());
  return channel;
}

void TMusicPlayerClass::Leave(TChannelMusic* channel) {
  std::lock_guard lock(FLock);
  std::erase(FChannels, channel);
}

size_t TMusicPlayerClass::ChannelCount() const {
  std::lock_guard lock(FLock);
  return FChannels.size();
}

}  // namespace kiv
