#include "music/play_items.h"

#include <cmath>
#include <limits>

#include "base/clock.h"
#include "base/log.h"
#include "model/random_source.h"
#include "sound/play_list.h"

namespace kiv {

namespace {

// Entries announced in the log per pass at most, so that a list of very short entries
// cannot hold a step up.
constexpr int kMostPreloadsPerPass = 64;

TSoundChain ChainOf(const TPlayList& list, bool shuffle) {
  if (!shuffle || list.Count() == 0) return TSoundChain::FromPlayList(list);
  TPlayList shuffled;
  shuffled.FillShuffled(list, list.Repeat ? 7 : 1, [](uint32_t n) { return RandomSource().Random(n); });
  shuffled.Repeat = list.Repeat;
  return TSoundChain::FromPlayList(shuffled);
}

}  // namespace

// ---- Comment ---------------------------------------------------------------------

TPlayComment::TPlayComment(IPlayItemHost& host, int id, std::u16string sound, double positionMs, double startMs,
                           double endMs)
    : TPlayItem(host, id),
      FChannel(std::make_shared<TKivChannel>(host.StartList(), id, std::move(sound), std::round(positionMs), startMs,
                                             endMs)) {
  FHost.LoadChannel(FChannel);
}

void TPlayComment::ChannelReady(const std::shared_ptr<TKivChannel>& channel) {
  if (channel != FChannel) return;
  channel->SetReady();
  FReady = true;
}

void TPlayComment::Tick(bool running, double timeMs) {
  if (!FReady || FDisposed) return;
  if (timeMs >= FChannel->EndTime() - kEndLeadMs) {
    Dispose(false);
  } else if (FChannel->Playing()) {
    if (!running && FStopOnPause) FChannel->Stop(timeMs);
  } else if (running && timeMs >= FChannel->StartTime()) {
    FChannel->Start(FChannel);
    FHost.SetCurrentComment(this);
  }
}

void TPlayComment::Dispose(bool) {
  if (FDisposed) return;
  FDisposed = true;
  if (FChannel->Playing()) {
    FChannel->Stop(FHost.ClockNow());
  } else {
    FChannel->Cancel();
  }
  FHost.ReleaseChannel(std::move(FChannel));
  if (FHost.CurrentComment() == this) {
    Log().Write("Clear CurComment !!!!!!!!!!!");
    FHost.SetCurrentComment(nullptr);
  } else {
    Log().Write("Dispose noncurrent channel !!!!!!!!!!!");
  }
}

// ---- Sequence --------------------------------------------------------------------

TPlaySequence::TPlaySequence(IPlayItemHost& host, int id, const TPlayList& list, bool shuffle, bool synchronise,
                             double startMs, double offsetMs)
    : TPlayItem(host, id), FChain(ChainOf(list, shuffle)), FFreeRunning(!synchronise), FStart(startMs),
      FOffset(offsetMs) {
  FReady = FChain.Entries.empty();
}

void TPlaySequence::Tick(bool running, double timeMs) {
  if (FDisposed) return;
  if (FStarted && !running && !FFreeRunning) {
    StopChannels(timeMs);
    FStarted = false;
  }
  if (FStarted) {
    Drive(FFreeRunning ? FHost.ClockNow() - FClockAtStart + FOffset : timeMs - FStart + FOffset);
    return;
  }
  if (timeMs >= FStart) {
    if (running) {
      FStarted = true;
      FClockAtStart = FHost.ClockNow();
      Log().Write(u"Sequence started at abs Time " + MsText(timeMs));
    }
    Drive(FFreeRunning ? FOffset : timeMs - FStart + FOffset);
    if (!FDisposed && (running || !FFreeRunning)) FHost.SetCurrentSequence(this);
    return;
  }
  Drive(FOffset);  // loads ahead of its start
}

void TPlaySequence::Drive(double s) {
  const uint32_t began = Clock().NowMs();
  // A list that does not repeat ends; one that repeats has no end.
  if (!FChain.Endless() && s > FChain.Length()) {
    Dispose(true);
    return;
  }
  LogPreloads(s);
  if (!FChainMade) MakeChannel(s);
  if (FStarted) WatchChannels(s);
  const uint32_t took = Clock().NowMs() - began;
  if (took > 1) Log().WriteValue("|||||||||||||||||||||||||| Watch Synch Time ", int64_t(took));
}

void TPlaySequence::LogPreloads(double s) {
  const int64_t count = int64_t(FChain.Entries.size());
  for (int n = 0; n < kMostPreloadsPerPass && count > 0; ++n) {
    if (!FChain.Endless() && FNextEntry >= count) break;
    const TChainEntry entry = FChain.At(FNextEntry);
    if (entry.Start >= s + kPreloadMs) break;
    ++FNextEntry;
    if (entry.Start + entry.Length <= s) continue;
    Log().Write(u"Preload " + SoundLabel(entry.Name));
    Log().Write(u"Preload to time start " + MsText(entry.Start));
  }
}

void TPlaySequence::MakeChannel(double s) {
  FChainMade = true;
  const double position = std::max(0.0, s);
  const double end = FChain.Endless() ? std::numeric_limits<double>::infinity() : FChain.Length();
  if (FChain.Entries.empty() || position >= end) return;
  auto channel = std::make_shared<TKivChannel>(FHost.StartList(), FId, ChainName(FChain), position, position, end);
  FChannels.push_back(channel);
  FReady = false;
  FHost.LoadChannel(std::move(channel));
}

void TPlaySequence::WatchChannels(double s) {
  for (size_t i = 0; i < FChannels.size();) {
    std::shared_ptr<TKivChannel>& channel = FChannels[i];
    if (s < channel->EndTime()) {
      if (channel->Ready() && !channel->Playing() && channel->StartTime() <= s) {
        channel->Start(channel);
        Log().Write(u"Start Channel: " + channel->Label() + u"   IntTime: " + MsText(s));
      }
      ++i;
      continue;
    }
    if (channel->Playing()) {
      channel->Stop(s);
      Log().Write(u"Stop Channel: " + channel->Label() + u"   IntTime: " + MsText(s));
    } else {
      channel->Cancel();
    }
    const uint32_t began = Clock().NowMs();
    FHost.ReleaseChannel(std::move(channel));
    FChannels.erase(FChannels.begin() + ptrdiff_t(i));
    Log().WriteValue("Release Channel Time ", int64_t(Clock().NowMs() - began));
  }
  UpdateReady();
}

void TPlaySequence::StopChannels(double timeMs) {
  for (const std::shared_ptr<TKivChannel>& channel : FChannels) channel->Stop(timeMs);
}

void TPlaySequence::ChannelReady(const std::shared_ptr<TKivChannel>& channel) {
  for (const std::shared_ptr<TKivChannel>& own : FChannels)
    if (own == channel) own->SetReady();
  UpdateReady();
}

void TPlaySequence::UpdateReady() {
  bool ready = true;
  for (const std::shared_ptr<TKivChannel>& channel : FChannels) ready = ready && channel->Ready();
  FReady = ready;
}

void TPlaySequence::Dispose(bool force) {
  if (FDisposed || (FFreeRunning && !force)) return;
  FDisposed = true;
  const double now = FHost.ClockNow();
  Log().Write(u"Finally sequence stop " + MsText(FStarted ? now - FClockAtStart : 0));
  for (std::shared_ptr<TKivChannel>& channel : FChannels) {
    if (channel->Playing()) {
      channel->Stop(now);
      Log().Write(u"Stop Channel: " + channel->Label());
    } else {
      channel->Cancel();
    }
    FHost.ReleaseChannel(std::move(channel));
  }
  FChannels.clear();
  if (FHost.CurrentSequence() == this) {
    Log().Write("Clear CurSequence");
    FHost.SetCurrentSequence(nullptr);
  }
  Log().Write("TPlaySequence.Disposed");
}

}  // namespace kiv
