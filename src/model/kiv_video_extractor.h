#pragma once
// Decodes the frames of one clip on a thread of its own into a pool of two frames: one
// is being shown while the other is being decoded, so decoding runs one frame ahead of
// the drawing. The drawing thread asks for the frame of a number and waits for it at
// most the time it is given; a frame that is late leaves the nearest frame in the pool
// on the screen.
#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "model/frame_source.h"

namespace kiv {

class TKivVideoExtractor {
 public:
  static constexpr int64_t kNone = -2;
  static constexpr size_t kPoolSize = 2;

  // source: not null (an assertion otherwise).
  explicit TKivVideoExtractor(std::unique_ptr<TFrameSource> source);
  // Stops the thread after the frame it is decoding.
  ~TKivVideoExtractor();
  TKivVideoExtractor(const TKivVideoExtractor&) = delete;
  TKivVideoExtractor& operator=(const TKivVideoExtractor&) = delete;

  const TFrameSource& Source() const { return *FSource; }

  // The frame number shown at ms of clip time: round(ms × rate ÷ 1000), at least 0, the
  // last frame past the end (when the length is known).
  int64_t FrameAt(double ms) const;

  // Asks for frame index without waiting (before a slide starts).
  void Request(int64_t index);
  // Hands the decoded frame nearest to index to deliver, waiting at most waitMs (of real
  // time) for index itself, then asks for next unless the pool has it. Returns the number
  // of the frame delivered, or kNone when none has been decoded yet (deliver is not
  // called then). deliver runs under the pool's lock: it copies and returns.
  int64_t Deliver(int64_t index, int64_t next, uint32_t waitMs,
                  const std::function<void(const TVideoFrame&, int64_t)>& deliver);
  // Frames decoded by the thread so far, bad ones included.
  int64_t FramesDecoded();

 private:
  struct TEntry {
    TVideoFrame Frame;
    int64_t Index = kNone;  // the number asked for
    bool Bad = false;
    bool Busy = false;  // being decoded
  };

  void Run();
  // Under FLock: the entry that holds index and is ready, or null.
  TEntry* Holding(int64_t index);
  bool HasRequest() const;

  std::unique_ptr<TFrameSource> FSource;
  std::mutex FLock;
  std::condition_variable FChanged;
  std::array<TEntry, kPoolSize> FPool;
  int64_t FWanted = kNone;
  int64_t FDecoded = 0;
  bool FStop = false;
  std::thread FThread;
};

}  // namespace kiv
