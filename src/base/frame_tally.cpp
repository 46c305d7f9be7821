#include "base/frame_tally.h"

#include <atomic>

namespace kiv {

namespace {
std::atomic<int64_t> GDrawn{0};
std::atomic<int64_t> GDropped{0};
}  // namespace

void CountFrameDrawn(bool dropped) {
  GDrawn.fetch_add(1, std::memory_order_relaxed);
  if (dropped) GDropped.fetch_add(1, std::memory_order_relaxed);
}

TFrameTally FrameTally() { return {GDrawn.load(std::memory_order_relaxed), GDropped.load(std::memory_order_relaxed)}; }

void ResetFrameTally() {
  GDrawn.store(0);
  GDropped.store(0);
}

}  // namespace kiv
