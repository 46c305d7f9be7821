#include "music/kiv_music_player.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>

#include "base/clock.h"
#include "base/errors.h"
#include "base/log.h"
#include "music/kiv_music_source.h"
#include "sound/music_player_class.h"

namespace kiv {

namespace {

// Bounds that keep broken show data (slides or lists of almost no length) from making
// a step endless: slides looked at and synchronised repetitions made per window.
constexpr int64_t kMostSlidesPerWindow = 4096;
constexpr int kMostRepetitionsPerWindow = 64;

// The time and end of message 12, and which seek it is.
class TTimeData : public TMessageData {
 public:
  TTimeData(double time, double end, uint64_t restart) : Time(time), End(end), Restart(restart) {}
  double Time;
  double End;
  uint64_t Restart;  // 0 when only the end moves
};

void LogOnce(std::atomic<bool>& said, std::string_view text) {
  if (!said.exchange(true)) Log().Write(text);
}

std::atomic<bool> gSlidesCut{false};
std::atomic<bool> gRepetitionsCut{false};

}  // namespace

TKivMusicPlayer::TKivMusicPlayer(std::unique_ptr<TKivMusicSource> music, TKivMusicPlayerParts parts)
    : FMusic(std::move(music)),
      FSynchronise(FMusic && FMusic->Flags().Synchronise),
      FSound(parts.Sound && parts.Sound->IsReady() ? std::move(parts.Sound) : nullptr),
      FSoundClock(FSound && parts.FollowSoundClock),
      FPasses(std::move(parts.PlayerPasses)),
      FProgramStart(Clock().NowMs()) {
  if (!FMusic) KIV_FAIL("No KivSource for KivMusicPlayer");
  FLoader = std::make_unique<TMusicLoader>(Events(), FSound, std::move(parts.LoaderPasses));
  Begin();
}

TKivMusicPlayer::~TKivMusicPlayer() {
  Stop();
  FLoader->Stop();
  Events().Close();  // channels on their way back are dropped with it
  FStartList.Clear();
  FCurSequence = nullptr;
  FCurComment = nullptr;
  FreeItems(true);
  FLoader.reset();
  Clock().SleepMs(15);
  FSound.reset();
  Clock().SleepMs(15);
}

void TKivMusicPlayer::Stop() { TKivThread::Stop(); }

void TKivMusicPlayer::Begin() {
  // Free-running main music plays on through every seek: it is made once, here.
  // Synchronised music is laid on the show clock by each schedule instead.
  const TPlayList& main = FMusic->MainPlayList();
  if (!FSynchronise && main.Count() > 0) {
    std::lock_guard lock(FItemsLock);
    FItems.push_back(
        std::make_unique<TPlaySequence>(Host(), NextId(), main, FMusic->Flags().Random, false, 0, 0));
  }
  Restart(0);
  FLoader->Start();
  Start();
}

// ---- Clock -----------------------------------------------------------------------

double TKivMusicPlayer::Now() const {
  if (FSoundClock) return FSound->GetTime();
  return double(uint32_t(Clock().NowMs() - FProgramStart));
}

double TKivMusicPlayer::CurrentTimeLocked() const {
  const double time = FRunning ? Now() - FTimeBase : FTimeBase;
  return std::min(time, FEndTime);
}

double TKivMusicPlayer::CurrentTime() const {
  std::lock_guard lock(FLock);
  return CurrentTimeLocked();
}

double TKivMusicPlayer::EndTime() const {
  std::lock_guard lock(FLock);
  return FLastEndSent;
}

void TKivMusicPlayer::SetRunning(bool running) {
  const int request = running ? 1 : 0;
  if (request == FLastRequest) return;
  FLastRequest = request;
  {
    // The show time goes on from where it stands, without a jump (held at the end).
    std::lock_guard lock(FLock);
    if (FRunning != running) {
      FTimeBase = running ? Now() - FTimeBase : CurrentTimeLocked();
      FRunning = running;
    }
  }
  Events().Post(running ? kRunMessage : kPauseMessage);
}

void TKivMusicPlayer::SetTime(double endMs, double timeMs) {
  if (timeMs >= 0) FLastRequest = -1;
  uint64_t restart = 0;
  {
    // The clock takes the new time at once, so the engine never reads a stale one; the
    // sounds for it are the next pass's work, and until they are made the player is
    // not ready.
    std::lock_guard lock(FLock);
    if (endMs >= 0) {
      if (FRunning) FTimeBase = Now() - CurrentTimeLocked();  // time held at the old end is not skipped
      FEndTime = endMs;
      FLastEndSent = endMs;
    }
    if (timeMs >= 0) {
      FRunning = false;
      FTimeBase = timeMs;
      restart = ++FRestartsAsked;
      FReady = false;
    }
  }
  Events().Post(kTimeMessage, std::make_unique<TTimeData>(timeMs, endMs, restart));
  if (restart == 0 || IsCurrentThread()) return;
  // At most a pass: a player held up elsewhere does not hold the engine up.
  std::unique_lock lock(FLock);
  FRestarted.wait_for(lock, std::chrono::milliseconds(kStepMs), [&] { return FRestartsDone >= restart; });
}

float TKivMusicPlayer::GetVolume() const { return FSound ? FSound->GetVolume() : 0.0f; }

void TKivMusicPlayer::SetVolume(float volume) {
  if (FSound) FSound->SetVolume(volume);
}

// ---- The player's thread -----------------------------------------------------------

void TKivMusicPlayer::HandleEvent(int code, TMessageData* data) {
  switch (code) {
    case TMusicLoader::kChannelMade: {
      auto* container = dynamic_cast<TChannelContainer*>(data);
      if (!container || !container->Channel) return;
      Log().Write(u"Receive Channel: " + container->Channel->Label());
      TakeChannel(container->Channel);
      return;
    }
    case kRunMessage:
    case kPauseMessage:
      return;  // the clock switched when asked; the next pass plays accordingly
    case kTimeMessage: {
      auto* time = dynamic_cast<TTimeData*>(data);
      if (!time) return;
      Log().Write(u"Set Time " + MsText(time->Time));
      if (time->Restart == 0) return;
      bool latest;
      {
        std::lock_guard lock(FLock);
        latest = time->Restart == FRestartsAsked;
      }
      // A seek overtaken by a later one is left to that one.
      if (latest) Restart(time->Time);
      {
        std::lock_guard lock(FLock);
        FRestartsDone = std::max(FRestartsDone, time->Restart);
      }
      FRestarted.notify_all();
      return;
    }
    default:
      KIV_FAIL("Unknown EventID");
  }
}

void TKivMusicPlayer::TakeChannel(const std::shared_ptr<TKivChannel>& channel) {
  const int owner = channel->Owner();
  for (const std::unique_ptr<TPlayItem>& item : FItems) {
    if (item->Id() == owner && !item->Disposed() && !channel->Cancelled()) {
      item->ChannelReady(channel);
      return;
    }
  }
  // Its item is gone: the loader frees it.
  ReleaseChannel(channel);
}

void TKivMusicPlayer::Iteration() {
  uint32_t began = Clock().NowMs();
  Events().Process();
  bool running;
  bool restarting;
  double t;
  {
    std::lock_guard lock(FLock);
    running = FRunning;
    restarting = FRestartsAsked != FRestartsDone;
    t = std::min(CurrentTimeLocked(), FEndTime - 1);
  }
  // While a seek waits for its pass, nothing is scheduled or started for the old time.
  if (!restarting && running) {
    ScheduleWindow(FHorizon, t + kPreloadMs, false);
    FHorizon = std::max(FHorizon, t + kPreloadMs);
  }
  uint32_t now = Clock().NowMs();
  if (now - began > 1) Log().WriteValue("+++++++++++++++++++ Main Synch Time ", int64_t(now - began));

  began = now;
  if (!restarting) {
    for (const std::unique_ptr<TPlayItem>& item : FItems)
      if (!item->Disposed()) item->Tick(running, t);
  }
  now = Clock().NowMs();
  if (now - began > 1) Log().WriteValue("+++++++++++++++++++ Total Synch Time ", int64_t(now - began));

  FStartList.PlayAll(t);

  began = now;
  FreeItems(false);
  now = Clock().NowMs();
  if (now - began > 1) Log().WriteValue("+++++++++++++++++++ Total Free and Pack Time ", int64_t(now - began));

  bool itemsReady = true;
  for (const std::unique_ptr<TPlayItem>& item : FItems) itemsReady = itemsReady && item->Ready();
  {
    // Under the clock's lock, so that a seek made meanwhile is not reported ready.
    std::lock_guard lock(FLock);
    FReady = FRestartsAsked == FRestartsDone && (FRunning || itemsReady);
  }
  if (FPasses) FPasses->Count();
  Clock().SleepMs(kStepMs);
}

void TKivMusicPlayer::FreeItems(bool all) {
  std::lock_guard lock(FItemsLock);
  for (auto it = FItems.begin(); it != FItems.end();) {
    if (!all && !(*it)->Disposed()) {
      ++it;
      continue;
    }
    if (it->get() == FCurSequence) FCurSequence = nullptr;
    if (it->get() == FCurComment) FCurComment = nullptr;
    it = FItems.erase(it);
  }
}

size_t TKivMusicPlayer::ItemCount() {
  std::lock_guard lock(FItemsLock);
  return FItems.size();
}

int TKivMusicPlayer::NextId() {
  const int id = FNextId;
  FNextId = FNextId == INT_MAX ? 0 : FNextId + 1;
  return id;
}

void TKivMusicPlayer::LoadChannel(std::shared_ptr<TKivChannel> channel) { FLoader->Create(std::move(channel)); }

void TKivMusicPlayer::ReleaseChannel(std::shared_ptr<TKivChannel> channel) { FLoader->Release(std::move(channel)); }

void TKivMusicPlayer::SetCurrentSequence(TPlaySequence* sequence) {
  TPlaySequence* previous = FCurSequence;
  FCurSequence = sequence;
  if (sequence && previous && previous != sequence) previous->Dispose(true);
}

// ---- Scheduling --------------------------------------------------------------------

void TKivMusicPlayer::Restart(double t) {
  // Comments stop; sequences stop only when synchronised, so free-running music goes on.
  for (const std::unique_ptr<TPlayItem>& item : FItems) item->Dispose(false);
  FHorizon = t + kPreloadMs;
  ScheduleWindow(t, t + kPreloadMs, true);
}

bool TKivMusicPlayer::Loops() const { return FMusic->Loops() && FMusic->ShowDuration() > 0; }

bool TKivMusicPlayer::SlideExists(int64_t index) const {
  return index >= 0 && (Loops() || index < FMusic->SlideCount());
}

const TSlideMusicInfo& TKivMusicPlayer::SlideOf(int64_t index, double& start) const {
  const int64_t count = FMusic->SlideCount();
  const TSlideMusicInfo& info = FMusic->SlideInfo(int(index % count));
  start = info.Timing.StartTime + double(index / count) * FMusic->ShowDuration();
  return info;
}

int64_t TKivMusicPlayer::SlideAt(double x) {
  const int64_t count = FMusic->SlideCount();
  if (count == 0 || std::isnan(x)) return -1;
  auto startOf = [&](int64_t index) {
    double start;
    SlideOf(index, start);
    return start;
  };
  int64_t index = std::max<int64_t>(0, Loops() ? FSlideIndex : std::min<int64_t>(FSlideIndex, count - 1));
  if (Loops()) {
    // Far away: start from the round of x rather than walk there slide by slide.
    const double length = FMusic->ShowDuration();
    if (std::abs(x - startOf(index)) > 2 * length)
      index = int64_t(std::clamp(std::floor(x / length), 0.0, 1e12)) * count;
  }
  while (index > 0 && startOf(index) > x) --index;
  if (startOf(index) > x) return -1;
  while (SlideExists(index + 1) && startOf(index + 1) <= x) ++index;
  return index;
}

void TKivMusicPlayer::ScheduleWindow(double b, double a, bool first) {
  if (!(a >= b)) return;
  if (FSynchronise) ScheduleSynchronisedMusic(b, a, first);
  if (FMusic->SlideCount() == 0) return;
  const int64_t atB = SlideAt(b);
  const int64_t atA = SlideAt(a);
  // After a seek, slides up to a whole show back are looked at again, so that a sound
  // begun on an earlier slide and still sounding is heard from where it stands.
  int64_t from = first ? std::max<int64_t>(0, atB - FMusic->SlideCount()) : atB + 1;
  if (atA - from >= kMostSlidesPerWindow) {
    LogOnce(gSlidesCut, "Music: too many slides within the schedule window; the earliest are left out");
    from = atA - kMostSlidesPerWindow + 1;
  }
  for (int64_t index = from; index <= atA; ++index) ScheduleSlide(index, atB, b);
  if (atA >= 0) FSlideIndex = atA;
}

void TKivMusicPlayer::ScheduleSlide(int64_t index, int64_t slideAtB, double b) {
  double slideStart;
  const TSlideMusicInfo& info = SlideOf(index, slideStart);
  if (!info.Sound.empty()) {
    Log().Write(u"New Comment begin " + SoundLabel(info.Sound));
    double start = slideStart;
    double into = 0;
    if (b > slideStart) {
      into = b - slideStart;
      start = b;
    }
    if (into < info.SoundLength) {
      const double end = start + info.SoundLength - into;
      Log().Write(u"~~~~~~~~~~~~~~~~~~~~~~~New Comment params " + MsText(std::round(into)) + u" " + MsText(start) +
                  u" " + MsText(end));
      std::lock_guard lock(FItemsLock);
      FItems.push_back(std::make_unique<TPlayComment>(Host(), NextId(), info.Sound, into, start, end));
    }
  }
  if (index >= slideAtB && !FSynchronise && info.PersonalPlayList && info.PersonalPlayList->Count() > 0) {
    std::lock_guard lock(FItemsLock);
    FItems.push_back(
        std::make_unique<TPlaySequence>(Host(), NextId(), *info.PersonalPlayList, false, false, slideStart, 0));
  }
}

void TKivMusicPlayer::ScheduleSynchronisedMusic(double b, double a, bool first) {
  const TPlayList& list = FMusic->MainPlayList();
  const double length = list.TotalLength();
  if (list.Count() == 0 || !(length > 0)) return;
  int made = 0;
  // The repetition that begins at s; the one sounding at b joins at b.
  auto repeatAt = [&](double s) {
    if (s > a || (!first && s <= b)) return;
    if (++made > kMostRepetitionsPerWindow) {
      LogOnce(gRepetitionsCut, "Music: the music is too short to repeat that often; repetitions are left out");
      return;
    }
    const double start = b >= s ? b : s;
    const double offset = b >= s ? b - s : 0;
    std::lock_guard lock(FItemsLock);
    FItems.push_back(std::make_unique<TPlaySequence>(Host(), NextId(), list, FMusic->Flags().Random, true, start, offset));
  };
  auto repetitions = [&](double base, double from, double to, double limit) {
    for (double k = std::floor(std::max(0.0, from) / length); k * length <= to && k * length < limit; ++k) {
      repeatAt(base + k * length);
      if (made > kMostRepetitionsPerWindow) return;
    }
  };
  if (!Loops()) {
    repetitions(0, b, a, INFINITY);
    return;
  }
  // In a looping show the music starts again with every round of the show.
  const double show = FMusic->ShowDuration();
  for (double round = std::floor(std::max(0.0, b) / show); round * show <= a; ++round) {
    const double base = round * show;
    repetitions(base, b - base, a - base, show);
    if (made > kMostRepetitionsPerWindow) return;
  }
}

}  // namespace kiv
