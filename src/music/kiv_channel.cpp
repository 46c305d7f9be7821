#include "music/kiv_channel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/clock.h"
#include "base/log.h"
#include "base/text.h"
#include "music/sound_chain.h"
#include "sound/channel_music.h"
#include "sound/composite_params.h"

namespace kiv {

namespace {

constexpr size_t kLongestLabel = 160;

std::u16string Shortened(std::u16string text) {
  if (text.size() > kLongestLabel) text = text.substr(0, kLongestLabel) + u"...";
  return text;
}

// The first "FileName=" value of a composite text.
std::u16string FirstCompositeFile(std::u16string_view text) {
  constexpr std::u16string_view key = u"FileName=";
  const size_t at = text.find(key);
  if (at == std::u16string_view::npos) return {};
  const size_t from = at + key.size();
  const size_t end = text.find_first_of(u"\r\n", from);
  return std::u16string(text.substr(from, end == std::u16string_view::npos ? std::u16string_view::npos : end - from));
}

}  // namespace

std::u16string SoundLabel(std::u16string_view name) {
  if (IsChainName(name)) {
    const std::optional<TSoundChain> chain = ParseChainName(name);
    if (!chain) return u"chain";
    std::u16string label = chain->Repeat ? u"repeated list: " : u"list: ";
    for (size_t i = 0; i < chain->Entries.size() && label.size() < kLongestLabel; ++i)
      label += (i > 0 ? u" + " : u"") + SoundLabel(chain->Entries[i].Name);
    return Shortened(label);
  }
  if (name.substr(0, kCompositeGuid.size()) == kCompositeGuid)
    return Shortened(u"composite " + FirstCompositeFile(name));
  return Shortened(std::u16string(name));
}

std::u16string MsText(double ms) {
  if (!std::isfinite(ms)) return Utf8ToUtf16(std::isnan(ms) ? "nan" : ms > 0 ? "inf" : "-inf");
  const double whole = std::round(ms);
  if (std::abs(ms - whole) < 1e-6 && std::abs(whole) < 9e15) return IntToText(int64_t(whole));
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", ms);
  return Utf8ToUtf16(text);
}

TKivChannel::TKivChannel(TChannelOperator& startList, int owner, std::u16string name, double startPosition,
                         double startTime, double endTime)
    : FStartList(startList),
      FOwner(owner),
      FName(std::move(name)),
      FLabel(SoundLabel(FName)),
      FStartPosition(startPosition),
      FStartTime(startTime),
      FEndTime(endTime) {}

TKivChannel::~TKivChannel() {
  if (FSound && FStarted && FSound->IsPlaying()) {
    Log().Write(u"+++++++++++++++++++ Destroy Channel " + FLabel + u" Time " + MsText(Clock().NowMs()));
    FSound->Stop(kFadeMs);
  }
}

void TKivChannel::SetSound(std::unique_ptr<TChannelMusic> sound) { FSound = std::move(sound); }

void TKivChannel::Start(const std::shared_ptr<TKivChannel>& self) {
  if (!FReady || FPlaying) return;
  FPlaying = true;
  FStartList.Add(self);
}

void TKivChannel::Stop(double timeMs) {
  if (!FPlaying) return;
  FPlaying = false;
  FStartList.Remove(this);
  if (!FStarted) return;
  FStarted = false;
  if (FSound) FSound->Stop(kFadeMs);
  Log().Write(u"+++++++++++++++++++ Channel " + FLabel + u" Stop Time " + MsText(timeMs));
}

void TKivChannel::Play(double timeMs) {
  if (FSound) FSound->Play(kFadeMs);
  FStarted = true;
  Log().Write(u"+++++++++++++++++++ Play Channel " + FLabel + u" Time " + MsText(timeMs));
}

void TChannelOperator::Add(std::shared_ptr<TKivChannel> channel) {
  if (std::find(FChannels.begin(), FChannels.end(), channel) == FChannels.end()) FChannels.push_back(std::move(channel));
}

void TChannelOperator::Remove(const TKivChannel* channel) {
  std::erase_if(FChannels, [channel](const std::shared_ptr<TKivChannel>& listed) { return listed.get() == channel; });
}

void TChannelOperator::PlayAll(double timeMs) {
  // The list lets go of the channels before they could be its last holders' concern.
  std::vector<std::shared_ptr<TKivChannel>> starting;
  starting.swap(FChannels);
  for (const std::shared_ptr<TKivChannel>& channel : starting) channel->Play(timeMs);
}

}  // namespace kiv
