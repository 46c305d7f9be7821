#pragma once
// What the music player plays: a slide's sound (TPlayComment) and a playlist
// (TPlaySequence: the main music or a slide's own list). Items live on the player's
// thread; their channels are made and freed by the loader.
#include <memory>
#include <string>
#include <vector>

#include "music/kiv_channel.h"
#include "music/sound_chain.h"

namespace kiv {

class TPlayItem;
class TPlayComment;
class TPlaySequence;

// The player as its items see it.
class IPlayItemHost {
 public:
  virtual ~IPlayItemHost() = default;
  virtual TChannelOperator& StartList() = 0;
  // Asks the loader for channel's sound; the channel comes back to the item by its owner.
  virtual void LoadChannel(std::shared_ptr<TKivChannel> channel) = 0;
  // Gives the item's reference to the loader, which frees the channel.
  virtual void ReleaseChannel(std::shared_ptr<TKivChannel> channel) = 0;
  // The player's clock (the sound clock, or program time without one), ms.
  virtual double ClockNow() = 0;
  virtual TPlayComment* CurrentComment() const = 0;
  virtual void SetCurrentComment(TPlayComment* comment) = 0;
  virtual TPlaySequence* CurrentSequence() const = 0;
  // The previous current sequence, if another, is disposed with force.
  virtual void SetCurrentSequence(TPlaySequence* sequence) = 0;
};

class TPlayItem {
 public:
  TPlayItem(IPlayItemHost& host, int id) : FHost(host), FId(id) {}
  virtual ~TPlayItem() = default;
  TPlayItem(const TPlayItem&) = delete;
  TPlayItem& operator=(const TPlayItem&) = delete;

  int Id() const { return FId; }
  // Every channel it asked for has been made.
  bool Ready() const { return FReady; }
  bool Disposed() const { return FDisposed; }

  // Stops what it plays and lets go of its channels; force counts for sequences.
  virtual void Dispose(bool force) = 0;
  // The loader made one of its channels.
  virtual void ChannelReady(const std::shared_ptr<TKivChannel>& channel) = 0;
  // One step of the player at show time timeMs.
  virtual void Tick(bool running, double timeMs) = 0;

 protected:
  IPlayItemHost& FHost;
  const int FId;
  bool FReady = false;
  bool FDisposed = false;
};

// A slide's sound: one channel from a position in the sound, between a start and an end
// on the show clock. It always stops when the show pauses.
class TPlayComment : public TPlayItem {
 public:
  // A comment ends this long before its end, so that the next one is not cut.
  static constexpr double kEndLeadMs = 10;

  TPlayComment(IPlayItemHost& host, int id, std::u16string sound, double positionMs, double startMs, double endMs);
  void Dispose(bool force) override;
  void ChannelReady(const std::shared_ptr<TKivChannel>& channel) override;
  void Tick(bool running, double timeMs) override;
  const TKivChannel* Channel() const { return FChannel.get(); }

 private:
  std::shared_ptr<TKivChannel> FChannel;
  const bool FStopOnPause = true;
};

// A playlist played from a start on the show clock. A synchronised one follows the show
// clock and stands while the show is paused; a free-running one follows the sound clock
// from the moment it started and plays on through pauses and seeks. Its entries play as
// one chain, so they follow one another without a gap, and a repeating list wraps the
// same way.
class TPlaySequence : public TPlayItem {
 public:
  // Sounds are asked for this long before they are due.
  static constexpr double kPreloadMs = 5000;

  // list is copied (shuffled when asked: 7 rounds of it for a repeating list, 1 else).
  TPlaySequence(IPlayItemHost& host, int id, const TPlayList& list, bool shuffle, bool synchronise, double startMs,
                double offsetMs);
  void Dispose(bool force) override;
  void ChannelReady(const std::shared_ptr<TKivChannel>& channel) override;
  void Tick(bool running, double timeMs) override;

  bool Synchronised() const { return !FFreeRunning; }
  double Start() const { return FStart; }
  double Offset() const { return FOffset; }
  bool Started() const { return FStarted; }
  const std::vector<std::shared_ptr<TKivChannel>>& Channels() const { return FChannels; }

 private:
  // Plays the list at sequence time s (ms from the list's start).
  void Drive(double s);
  void LogPreloads(double s);
  void MakeChannel(double s);
  void WatchChannels(double s);
  void StopChannels(double timeMs);
  void UpdateReady();

  TSoundChain FChain;
  std::vector<std::shared_ptr<TKivChannel>> FChannels;
  bool FChainMade = false;
  int64_t FNextEntry = 0;  // the next entry the log announces
  bool FStarted = false;
  const bool FFreeRunning;
  double FClockAtStart = 0;
  const double FStart;
  const double FOffset;
};

}  // namespace kiv
