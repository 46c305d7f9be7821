#include "sound/channel_music.h"

#include <algorithm>

#include "sound/channel_link.h"
#include "sound/music_channel.h"
#include "sound/music_player_class.h"

namespace kiv {

TChannelMusic::TChannelMusic(TMusicPlayerClass& player, std::u16string_view name, const TMediaInfo& media)
    : FPlayer(player), FName(name), FMedia(media), FLink(std::make_shared<TChannelLink>()) {
  std::lock_guard lock(FLink->Lock);
  FLink->Owner = this;
  FOk = OpenPhysicalLocked() != nullptr;
}

TChannelMusic::~TChannelMusic() {
  FPlayer.Leave(this);  // the player's lock alone
  std::vector<std::shared_ptr<TMusicChannel>> unused;
  {
    std::unique_lock lock(FLink->Lock);
    for (auto& channel : FPhysical) {
      if (channel->State() == TPhysicalState::Playing) channel->FadeOut(kSeekFadeMs);
      if (channel->State() == TPhysicalState::Ready) {
        unused.push_back(std::move(channel));  // never played: freed at once
      } else {
        channel->HandOver();  // still sounding: the reaper frees it once heard
      }
    }
    FPhysical.clear();
    FLink->Owner = nullptr;
    // A finished event being raised may still use this channel; unless it is the one
    // destroying it, let it end.
    FLink->Raised.wait(lock, [&] { return FLink->Raisers.empty() || FLink->RaisingHere(); });
  }
}

std::shared_ptr<TMusicChannel> TChannelMusic::OpenPhysicalLocked() {
  auto channel = TMusicChannel::Open(FLink, FPlayer.Device(), FPlayer.Source(), FName, FMedia);
  if (!channel) return nullptr;
  FPhysical.push_back(channel);
  ApplyVolumeLocked();
  return channel;
}

std::shared_ptr<TMusicChannel> TChannelMusic::CurrentLocked() const {
  return FPhysical.empty() ? nullptr : FPhysical.back();
}

void TChannelMusic::ApplyVolumeLocked() {
  if (auto current = CurrentLocked()) current->SetVolume(FVolume * FMaster);
}

float TChannelMusic::GetVolume() const {
  std::lock_guard lock(FLink->Lock);
  return FVolume;
}

void TChannelMusic::SetVolume(float factor) {
  std::lock_guard lock(FLink->Lock);
  FVolume = factor;
  ApplyVolumeLocked();
}

float TChannelMusic::GetMasterVolume() const {
  std::lock_guard lock(FLink->Lock);
  return FMaster;
}

void TChannelMusic::SetMasterVolume(float factor) {
  std::lock_guard lock(FLink->Lock);
  FMaster = factor;
  ApplyVolumeLocked();
}

double TChannelMusic::GetPosition() {
  std::lock_guard lock(FLink->Lock);
  if (auto current = CurrentLocked()) FLastPosition = current->Position();
  return FLastPosition;
}

void TChannelMusic::SetPosition(double ms) {
  std::lock_guard lock(FLink->Lock);
  auto current = CurrentLocked();
  if (current && current->State() == TPhysicalState::Ready) {
    current->Seek(ms);
  } else if (current && current->State() == TPhysicalState::Playing) {
    // The old position fades out while the new one fades in.
    current->FadeOut(kSeekFadeMs);
    if (auto next = OpenPhysicalLocked()) {
      next->Seek(ms);
      next->Start(kSeekFadeMs);
    }
  } else if (auto next = OpenPhysicalLocked()) {
    next->Seek(ms);
  }
  FLastPosition = ms;
}

bool TChannelMusic::Play(uint32_t fadeInMs) {
  std::lock_guard lock(FLink->Lock);
  auto current = CurrentLocked();
  if (current && current->State() == TPhysicalState::Playing) return false;
  if (!current || current->State() != TPhysicalState::Ready) {
    current = OpenPhysicalLocked();
    if (!current) return false;  // the sound can no longer be opened
    current->Seek(FLastPosition);
  }
  current->Start(fadeInMs);
  return true;
}

bool TChannelMusic::Stop(uint32_t fadeOutMs) {
  std::lock_guard lock(FLink->Lock);
  auto current = CurrentLocked();
  if (!current || current->State() != TPhysicalState::Playing) return false;
  FLastPosition = current->Position();
  current->FadeOut(fadeOutMs);
  return true;
}

bool TChannelMusic::IsPlaying() const {
  std::lock_guard lock(FLink->Lock);
  auto current = CurrentLocked();
  return current && current->State() == TPhysicalState::Playing;
}

void TChannelMusic::SetFinishedEvent(std::function<void()> finished) {
  std::lock_guard lock(FLink->Lock);
  FFinished = std::move(finished);
}

std::function<void()> TChannelMusic::ReleasePhysicalLocked(const std::shared_ptr<TMusicChannel>& channel) {
  auto found = std::find(FPhysical.begin(), FPhysical.end(), channel);
  if (found == FPhysical.end()) return {};
  // A current one that played to its end leaves the position at the end; one that was
  // stopped left it where it stopped.
  if (found + 1 == FPhysical.end() && channel->EndedByData()) {
    FLastPosition = FMedia.Duration > 0 ? std::min(channel->Position(), double(FMedia.Duration)) : channel->Position();
  }
  FPhysical.erase(found);
  return channel->EndedByData() ? FFinished : std::function<void()>();
}

}  // namespace kiv
