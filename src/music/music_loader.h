#pragma once
// The music player's loader: a thread of its own that makes the sound channels the
// player asks for (opening and buffering a sound can take a while) and frees the ones it
// is done with, so that the player's thread does neither.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "base/kiv_thread.h"
#include "sound/sound_streams.h"

namespace kiv {

class TFileAccessor;
class TKivChannel;
class TMusicPlayerClass;

// Counts the passes of a thread, for whoever moves a stepped clock and must know that a
// pass has seen the time it set.
class TPassCounter {
 public:
  void Count();
  uint64_t Value() const;
  // Waits at most timeoutMs of real time until the count is beyond after.
  bool WaitBeyond(uint64_t after, uint32_t timeoutMs) const;

 private:
  mutable std::mutex FLock;
  mutable std::condition_variable FChanged;
  uint64_t FValue = 0;
};

class TMusicLoader : public TKivThread {
 public:
  // Requests of the loader's queue, and the answer it posts to the player's.
  static constexpr int kCreateChannel = 1;
  static constexpr int kChannelMade = 2;
  static constexpr int kReleaseChannel = 3;
  static constexpr uint32_t kStepMs = 10;

  // sound may be none: channels then come back without sound. passes, when given,
  // counts the loader's passes.
  TMusicLoader(TThreadEventList& playerQueue, std::shared_ptr<TMusicPlayerClass> sound,
               std::shared_ptr<TPassCounter> passes = nullptr);
  ~TMusicLoader() override;

  // Makes channel's sound, then hands the channel back to the player.
  void Create(std::shared_ptr<TKivChannel> channel);
  // Drops the reference; the last one frees the channel and its sound here.
  void Release(std::shared_ptr<TKivChannel> channel);
  // Requests waiting to be handled.
  size_t Waiting() { return Events().Count(); }

  void Stop() override;

 protected:
  void Iteration() override;
  void HandleEvent(int code, TMessageData* data) override;

 private:
  void MakeSound(TKivChannel& channel);

  TThreadEventList& FPlayerQueue;
  std::shared_ptr<TMusicPlayerClass> FSound;
  std::shared_ptr<TPassCounter> FPasses;
  std::mutex FLock;  // around making a sound channel
};

// How the player's sounds are opened: a name starting with "LoadFromDisk:" is a file on
// disk (the rest of the name, found as a loose file of the show is: "\" or "/" between
// folders, any case, a relative name from the show's folder; regular files only, read
// only); any other name is a file of the show, through accessor (none: nothing opens).
TSoundOpener MusicFileOpener(const TFileAccessor* accessor);

}  // namespace kiv
