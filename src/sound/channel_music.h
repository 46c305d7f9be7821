#pragma once
// A named channel: plays, seeks and stops one sound with short fades that never click.
// Each play after a stop, and each seek while playing, opens a fresh physical channel;
// the last one is current, and those before it fade out and are reaped.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sound/media_info.h"

namespace kiv {

class TMusicPlayerClass;
class TMusicChannel;
struct TChannelLink;

class TChannelMusic {
 public:
  // Fades of a seek while playing.
  static constexpr uint32_t kSeekFadeMs = 10;

  // Use TMusicPlayerClass::CreateChannel.
  TChannelMusic(TMusicPlayerClass& player, std::u16string_view name, const TMediaInfo& media);
  // Playing physical channels fade out over 10 ms and are left to the reaper, which
  // frees them once heard; nothing waits for it.
  ~TChannelMusic();
  TChannelMusic(const TChannelMusic&) = delete;
  TChannelMusic& operator=(const TChannelMusic&) = delete;

  // True when the first physical channel opened.
  bool Ok() const { return FOk; }

  TMusicPlayerClass& GetPlayer() const { return FPlayer; }
  const std::u16string& GetName() const { return FName; }
  float GetVolume() const;
  void SetVolume(float factor);
  float GetMasterVolume() const;
  void SetMasterVolume(float factor);
  // ms, from the media information.
  double GetLength() const { return double(FMedia.Duration); }
  double GetPosition();
  void SetPosition(double ms);
  // False when already playing, or when a fresh physical channel could not be opened.
  bool Play(uint32_t fadeInMs);
  // False unless playing.
  bool Stop(uint32_t fadeOutMs);
  bool IsPlaying() const;

  // Raised (on the reaper's thread, with no lock held) once a physical channel that
  // played to the end of its sound has been heard to the end and freed.
  void SetFinishedEvent(std::function<void()> finished);

  // The reaper takes a physical channel out (under the channel's lock); answers the
  // finished event when it played to its end.
  std::function<void()> ReleasePhysicalLocked(const std::shared_ptr<TMusicChannel>& channel);

 private:
  std::shared_ptr<TMusicChannel> OpenPhysicalLocked();
  std::shared_ptr<TMusicChannel> CurrentLocked() const;
  void ApplyVolumeLocked();

  TMusicPlayerClass& FPlayer;
  const std::u16string FName;
  const TMediaInfo FMedia;
  std::shared_ptr<TChannelLink> FLink;  // holds the channel's lock
  std::vector<std::shared_ptr<TMusicChannel>> FPhysical;
  double FLastPosition = 0;
  float FVolume = 1;
  float FMaster = 1;
  bool FOk = false;
  std::function<void()> FFinished;
};

}  // namespace kiv
