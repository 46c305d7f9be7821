#include "model/kiv_video_extractor.h"

#include <chrono>
#include <cmath>
#include <cstdlib>

#include "base/errors.h"

namespace kiv {

TKivVideoExtractor::TKivVideoExtractor(std::unique_ptr<TFrameSource> source) : FSource(std::move(source)) {
  KIV_ASSERT(FSource != nullptr);
  FThread = std::thread([this] { Run(); });
}

TKivVideoExtractor::~TKivVideoExtractor() {
  {
    std::lock_guard lock(FLock);
    FStop = true;
  }
  FChanged.notify_all();
  FThread.join();
}

int64_t TKivVideoExtractor::FrameAt(double ms) const {
  const double rate = FSource->Rate();
  if (!(ms > 0) || !(rate > 0)) return 0;
  const double frame = std::round(ms * rate / 1000);
  const int64_t count = FSource->FrameCount();
  if (count > 0 && frame >= double(count)) return count - 1;
  return frame > 1e15 ? int64_t(1e15) : int64_t(frame);
}

TKivVideoExtractor::TEntry* TKivVideoExtractor::Holding(int64_t index) {
  for (TEntry& entry : FPool)
    if (!entry.Busy && !entry.Bad && entry.Index == index) return &entry;
  return nullptr;
}

bool TKivVideoExtractor::HasRequest() const { return FWanted != kNone; }

void TKivVideoExtractor::Request(int64_t index) {
  {
    std::lock_guard lock(FLock);
    if (Holding(index)) return;
    for (const TEntry& entry : FPool)
      if (entry.Busy && entry.Index == index) return;
    FWanted = index;
  }
  FChanged.notify_all();
}

void TKivVideoExtractor::Run() {
  std::unique_lock lock(FLock);
  for (;;) {
    FChanged.wait(lock, [this] { return FStop || HasRequest(); });
    if (FStop) return;
    const int64_t wanted = FWanted;
    if (Holding(wanted)) {
      FWanted = kNone;
      continue;
    }
    // The entry farthest from the frame wanted is the one not on the screen.
    TEntry* target = nullptr;
    for (TEntry& entry : FPool) {
      if (entry.Busy) continue;
      const auto distance = [wanted](const TEntry& e) {
        return e.Index < 0 || e.Bad ? INT64_MAX : std::llabs(e.Index - wanted);
      };
      if (!target || distance(entry) > distance(*target)) target = &entry;
    }
    if (!target) {
      FChanged.wait(lock);
      continue;
    }
    target->Busy = true;
    target->Index = wanted;
    lock.unlock();
    const bool decoded = FSource->GetFrame(wanted, target->Frame);
    lock.lock();
    target->Busy = false;
    // A frame that fails stays marked: the nearest good frame is shown in its place.
    target->Bad = !decoded;
    ++FDecoded;
    if (FWanted == wanted) FWanted = kNone;
    FChanged.notify_all();
  }
}

int64_t TKivVideoExtractor::Deliver(int64_t index, int64_t next, uint32_t waitMs,
                                    const std::function<void(const TVideoFrame&, int64_t)>& deliver) {
  std::unique_lock lock(FLock);
  if (!Holding(index)) {
    const bool decoding = [&] {
      for (const TEntry& entry : FPool)
        if (entry.Busy && entry.Index == index) return true;
      return false;
    }();
    if (!decoding) FWanted = index;
    FChanged.notify_all();
    // A frame that failed to decode is not waited for again.
    FChanged.wait_for(lock, std::chrono::milliseconds(waitMs), [&] {
      if (Holding(index)) return true;
      for (const TEntry& entry : FPool)
        if (entry.Index == index && !entry.Busy && entry.Bad) return true;
      return false;
    });
  }
  const TEntry* nearest = nullptr;
  for (const TEntry& entry : FPool) {
    if (entry.Busy || entry.Bad || entry.Index < 0) continue;
    if (!nearest || std::llabs(entry.Index - index) < std::llabs(nearest->Index - index)) nearest = &entry;
  }
  int64_t shown = kNone;
  if (nearest) {
    shown = nearest->Index;
    deliver(nearest->Frame, shown);
  }
  if (next != index && !Holding(next) && FWanted == kNone) {
    bool decoding = false;
    for (const TEntry& entry : FPool) decoding = decoding || (entry.Busy && entry.Index == next);
    if (!decoding) {
      FWanted = next;
      FChanged.notify_all();
    }
  }
  return shown;
}

int64_t TKivVideoExtractor::FramesDecoded() {
  std::lock_guard lock(FLock);
  return FDecoded;
}

}  // namespace kiv
