#pragma once
// One sound the music player wants heard: a file, a composite text or a chain of a
// playlist, from a position in it, between two times on its owner's time line. The
// loader makes its sound channel; the player starts and stops it. A channel passes
// between those threads in containers and is shared; the loader drops the player's
// references, so its sound channel is freed off the player's thread.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "base/thread_event_list.h"

namespace kiv {

class TChannelMusic;
class TChannelOperator;

class TKivChannel {
 public:
  // A 10 ms fade at every start and stop, so that none clicks.
  static constexpr uint32_t kFadeMs = 10;

  TKivChannel(TChannelOperator& startList, int owner, std::u16string name, double startPosition, double startTime,
              double endTime);
  // A sound still playing and not stopped fades out over 10 ms.
  ~TKivChannel();
  TKivChannel(const TKivChannel&) = delete;
  TKivChannel& operator=(const TKivChannel&) = delete;

  const std::u16string& Name() const { return FName; }
  // The name as the log shows it.
  const std::u16string& Label() const { return FLabel; }
  double StartPosition() const { return FStartPosition; }
  double StartTime() const { return FStartTime; }
  // The loader moves it earlier when the sound is shorter than planned.
  double EndTime() const { return FEndTime.load(); }
  void SetEndTime(double ms) { FEndTime = ms; }

  int Owner() const { return FOwner.load(); }
  bool Cancelled() const { return FOwner.load() == -1; }
  void Cancel() { FOwner = -1; }

  // The loader's side: the sound channel, made before the channel is handed back (none
  // when there is no sound device or the sound cannot be played).
  void SetSound(std::unique_ptr<TChannelMusic> sound);
  TChannelMusic* Sound() const { return FSound.get(); }

  // The player's side.
  bool Ready() const { return FReady; }
  void SetReady() { FReady = true; }
  bool Playing() const { return FPlaying; }
  // Ready and not playing: joins the start list, which plays it at the end of the step.
  void Start(const std::shared_ptr<TKivChannel>& self);
  // Playing: leaves the start list, and a sound that was started fades out.
  void Stop(double timeMs);
  // Called by the start list.
  void Play(double timeMs);

 private:
  TChannelOperator& FStartList;
  std::unique_ptr<TChannelMusic> FSound;
  bool FStarted = false;  // its sound was played and has not been stopped since
  std::atomic<int> FOwner;
  bool FReady = false;
  bool FPlaying = false;
  const std::u16string FName;
  const std::u16string FLabel;
  const double FStartPosition;
  const double FStartTime;
  std::atomic<double> FEndTime;
};

// The start list: channels started during a step are played together after every item
// has ticked, so that sounds due at the same moment start in the same pass.
class TChannelOperator {
 public:
  void Add(std::shared_ptr<TKivChannel> channel);
  void Remove(const TKivChannel* channel);
  // Plays every listed channel and empties the list.
  void PlayAll(double timeMs);
  void Clear() { FChannels.clear(); }
  size_t Count() const { return FChannels.size(); }

 private:
  std::vector<std::shared_ptr<TKivChannel>> FChannels;
};

// One reference to a channel on its way through a queue.
class TChannelContainer : public TMessageData {
 public:
  explicit TChannelContainer(std::shared_ptr<TKivChannel> channel) : Channel(std::move(channel)) {}
  std::shared_ptr<TKivChannel> Channel;
};

// What the log shows for a sound name: a chain by its entries, a composite text by the
// word and its first file, a file by its name.
std::u16string SoundLabel(std::u16string_view name);
// ms as the log writes them.
std::u16string MsText(double ms);

}  // namespace kiv
