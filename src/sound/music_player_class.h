#pragma once
// The music player's output side: the sound device, the sound clock and the named
// channels, with a master volume over them all.
//
// Locks: the player's lock guards its channel list and may be held while a channel's
// lock is taken, never the other way round.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio_output.h"
#include "sound/sound_source.h"

namespace kiv {

class TChannelMusic;
class TTimerChannel;
class TWaveOutDevice;

class TMusicPlayerClass {
 public:
  // output may be none (reason says why): the player is then not ready, makes no
  // channels, and says so in the log once.
  TMusicPlayerClass(std::unique_ptr<IAudioOutput> output, TSoundSource source, std::string_view reason = {});
  // Channels are destroyed before their player.
  ~TMusicPlayerClass();
  TMusicPlayerClass(const TMusicPlayerClass&) = delete;
  TMusicPlayerClass& operator=(const TMusicPlayerClass&) = delete;

  bool IsReady() const;
  float GetVolume() const;
  // The master volume, passed on to every channel.
  void SetVolume(float factor);
  // The sound clock in ms, started on first use; 0 without one.
  double GetTime();
  TTimerChannel* Timer();

  // A channel playing name, sought to startMs unless it is -1; none when the player is
  // not ready or the sound cannot be played.
  std::unique_ptr<TChannelMusic> CreateChannel(std::u16string_view name, double startMs);

  TWaveOutDevice& Device() { return *FDevice; }
  const TSoundSource& Source() const { return FSource; }
  // The channels' side of the list.
  void Leave(TChannelMusic* channel);
  size_t ChannelCount() const;

 private:
  std::unique_ptr<TWaveOutDevice> FDevice;
  TSoundSource FSource;
  mutable std::mutex FLock;
  std::vector<TChannelMusic*> FChannels;
  float FMaster = 1;
  std::mutex FTimerLock;
  std::unique_ptr<TTimerChannel> FTimer;
  bool FTimerMissing = false;
};

}  // namespace kiv
