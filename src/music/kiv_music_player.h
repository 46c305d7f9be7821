#pragma once
// The music player: plays a show's main music, each slide's sound and each slide's own
// playlist in step with the show, and keeps the show clock. While the show runs, the
// engine reads the show time from it, and it reads the sound clock: pictures follow the
// music.
//
// It runs on a thread of its own, a pass every 5 ms: sounds due within the next 5000 ms
// are asked of the loader (a second thread, which opens and buffers them) and started
// when their time comes, all of a pass together.
//
// The engine's calls never wait on the player's thread for longer than a pass: a seek
// takes effect on the clock at once, the sounds for the new time are worked out by the
// next pass, and the player reports not ready until their channels are made.
#include <atomic>
#include <list>
#include <memory>
#include <mutex>

#include "base/kiv_thread.h"
#include "engine/music_player.h"
#include "music/kiv_channel.h"
#include "music/music_loader.h"
#include "music/play_items.h"

namespace kiv {

class TKivMusicSource;
class TMusicPlayerClass;
struct TSlideMusicInfo;

struct TKivMusicPlayerParts {
  // The sound output; none, or one that is not ready: no sound, and the show keeps
  // time on the program clock. It must play chain names (see MakeMusicSoundPlayer).
  std::shared_ptr<TMusicPlayerClass> Sound;
  // The show clock follows the sound clock (the output's frames, smoothed). A renderer
  // that moves the program clock and renders the output in step with it keeps the show
  // clock on the program clock instead, exactly where it puts it.
  bool FollowSoundClock = true;
  // Count the passes of the player's and the loader's threads, when given.
  std::shared_ptr<TPassCounter> PlayerPasses;
  std::shared_ptr<TPassCounter> LoaderPasses;
};

class TKivMusicPlayer : public TKivThread, public IKivMusicPlayer, private IPlayItemHost {
 public:
  static constexpr uint32_t kStepMs = 5;
  static constexpr double kPreloadMs = 5000;
  static constexpr double kNoEnd = 2147483647;
  // Messages of the player's queue.
  static constexpr int kRunMessage = 10;
  static constexpr int kPauseMessage = 11;
  static constexpr int kTimeMessage = 12;

  // Plays music, from time 0, paused; the threads run from here on.
  TKivMusicPlayer(std::unique_ptr<TKivMusicSource> music, TKivMusicPlayerParts parts);
  // The music of source (required: "No KivSource for KivMusicPlayer"). Decoder libraries
  // a show carries ("opt_wmapath", "opt_oggpath") are never loaded; the log says so once.
  TKivMusicPlayer(const TKivSource* source, TKivMusicPlayerParts parts);
  // Stops the loader and the thread, frees every item and then the sound output.
  ~TKivMusicPlayer() override;

  // IKivMusicPlayer, for the engine's thread.
  void SetRunning(bool running) override;
  void SetTime(double endMs, double timeMs) override;
  double EndTime() const override;
  double CurrentTime() const override;
  bool IsMusicReady() const override { return FReady.load(); }
  float GetVolume() const override;
  void SetVolume(float volume) override;

  const TKivMusicSource& Music() const { return *FMusic; }
  // Items not yet freed (tests look at them).
  size_t ItemCount();

  void Stop() override;

 protected:
  void Iteration() override;
  void HandleEvent(int code, TMessageData* data) override;

 private:
  void Begin();
  // The sound clock, or the program time without one, ms.
  double Now() const;
  double CurrentTimeLocked() const;

  // The sounds of time t, from where in them (message 12).
  void Restart(double t);
  // Schedules what is due from b to a; first after a restart.
  void ScheduleWindow(double b, double a, bool first);
  void ScheduleSynchronisedMusic(double b, double a, bool first);
  void ScheduleSlide(int64_t index, int64_t slideAtB, double b);
  // The largest slide index whose start is at or before x, -1 for none.
  int64_t SlideAt(double x);
  bool SlideExists(int64_t index) const;
  // The slide of index and its start on the show clock (later rounds of a looping
  // show shifted by whole show lengths).
  const TSlideMusicInfo& SlideOf(int64_t index, double& start) const;
  bool Loops() const;
  int NextId();
  void TakeChannel(const std::shared_ptr<TKivChannel>& channel);
  void FreeItems(bool all);

  // IPlayItemHost
  IPlayItemHost& Host() { return *this; }
  TChannelOperator& StartList() override { return FStartList; }
  void LoadChannel(std::shared_ptr<TKivChannel> channel) override;
  void ReleaseChannel(std::shared_ptr<TKivChannel> channel) override;
  double ClockNow() override { return Now(); }
  TPlayComment* CurrentComment() const override { return FCurComment; }
  void SetCurrentComment(TPlayComment* comment) override { FCurComment = comment; }
  TPlaySequence* CurrentSequence() const override { return FCurSequence; }
  void SetCurrentSequence(TPlaySequence* sequence) override;

  std::unique_ptr<TKivMusicSource> FMusic;
  const bool FSynchronise;
  std::shared_ptr<TMusicPlayerClass> FSound;
  const bool FSoundClock;  // the clock is the sound's
  std::shared_ptr<TPassCounter> FPasses;
  std::unique_ptr<TMusicLoader> FLoader;
  TChannelOperator FStartList;
  std::mutex FItemsLock;  // the list itself, for ItemCount
  std::list<std::unique_ptr<TPlayItem>> FItems;
  TPlaySequence* FCurSequence = nullptr;
  TPlayComment* FCurComment = nullptr;

  // The clock, under FLock.
  mutable std::mutex FLock;
  bool FRunning = false;
  double FTimeBase = 0;  // running: the clock at show time 0; paused: the show time
  double FEndTime = kNoEnd;
  double FLastEndSent = kNoEnd;
  uint64_t FRestartsAsked = 0;
  uint64_t FRestartsDone = 0;
  std::condition_variable FRestarted;
  uint32_t FProgramStart = 0;

  double FHorizon = 0;  // everything up to here is scheduled (player's thread)
  int64_t FSlideIndex = 0;
  int FLastRequest = -1;  // the last SetRunning: -1 none, 0 pause, 1 run (engine's thread)
  std::atomic<bool> FReady{false};
  int FNextId = 0;
  float FVolume = 0;
};

}  // namespace kiv
