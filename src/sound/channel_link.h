#pragma once
// What a channel shares with its physical channels: the channel's lock and a way back
// to it. The link outlives the channel, so a physical channel still fading after its
// channel is gone finds no owner instead of a freed one.
#include <condition_variable>
#include <mutex>

namespace kiv {

class TChannelMusic;

struct TChannelLink {
  std::mutex Lock;  // the channel's lock
  TChannelMusic* Owner = nullptr;
  // Finished events being raised (without the lock); the channel waits for them to end
  // before it goes.
  int Raising = 0;
  std::condition_variable Raised;
};

}  // namespace kiv
