#pragma once
// The reaper: one thread for the process that frees physical channels once their last
// sound has been heard. A channel is handed over when its end is first known; from then
// on its deadline may still move. Every 10 ms (100 ms with nothing waiting) the thread
// frees those whose deadline has passed, after taking them out of their owner.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "base/kiv_thread.h"
#include "sound/wake_event.h"

namespace kiv {

class TMusicChannel;

class TChannelKiller : public TKivThread {
 public:
  static constexpr uint32_t kBusyPeriodMs = 10;
  static constexpr uint32_t kIdlePeriodMs = 100;

  ~TChannelKiller() override;
  void Stop() override;

  void Add(std::shared_ptr<TMusicChannel> channel);
  // Frees every channel whose deadline has passed (the thread's turn; renderers on
  // virtual time call it too). Answers how many it freed.
  size_t Sweep();
  size_t Count() const;

 protected:
  void Iteration() override;

 private:
  mutable std::mutex FLock;
  std::vector<std::shared_ptr<TMusicChannel>> FChannels;
  TWakeEvent FWake;
};

// The process's reaper, started on first use.
TChannelKiller& ChannelKiller();

}  // namespace kiv
