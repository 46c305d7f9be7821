#pragma once
// The engine's main-thread side: numbering of open and seek requests, and turning the
// engine's messages into notifications, dropping position reports of requests that
// have been superseded.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/kiv_thread.h"
#include "engine/kiv_event_data.h"

namespace kiv {

class TCustomKivEngine : public TKivThread {
 public:
  explicit TCustomKivEngine(IMainThreadPoster& mainThread) : FMainThread(mainThread) {}

  // Main thread.
  std::function<void()> OnFirstFrame;
  std::function<void(int32_t positionMs, bool finished, int32_t lengthMs)> OnPosition;
  std::function<void(TKivEventData& message)> OnEvent;

  // The number of a new open or seek request; it becomes the latest (main thread).
  int32_t NextRequestNumber() { return ++FRequestCounter; }
  int32_t LatestRequestNumber() const { return FRequestCounter.load(); }
  // Dispatches a message of the engine to the notifications (main thread).
  void HandleMainMessage(TKivEventData& message);

 protected:
  // Engine thread.
  void PostToMain(int code, std::vector<int32_t> values = {}, std::u16string text = {},
                  std::unique_ptr<TBitmap> picture = nullptr);

 private:
  IMainThreadPoster& FMainThread;
  std::atomic<int32_t> FRequestCounter{0};
};

}  // namespace kiv
