#pragma once
// What a channel shares with its physical channels: the channel's lock and a way back
// to it. The link outlives the channel, so a physical channel still fading after its
// channel is gone finds no owner instead of a freed one.
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace kiv {

class TChannelMusic;

struct TChannelLink {
  std::mutex Lock;  // the channel's lock
  TChannelMusic* Owner = nullptr;
  // The threads raising finished events (without the lock): the channel waits for them
  // before it goes, unless it is destroyed by one of them.
  std::vector<std::thread::id> Raisers;
  std::condition_variable Raised;

  bool RaisingHere() const {
    return std::find(Raisers.begin(), Raisers.end(), std::this_thread::get_id()) != Raisers.end();
  }
};

}  // namespace kiv
