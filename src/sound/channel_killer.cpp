#include "sound/channel_killer.h"

#include <algorithm>
#include <functional>

#include "base/clock.h"
#include "sound/channel_link.h"
#include "sound/channel_music.h"
#include "sound/music_channel.h"

namespace kiv {

TChannelKiller::~TChannelKiller() {
  Stop();
  // What is left is freed with the list, its buffers stopped and their threads joined.
}

void TChannelKiller::Stop() {
  Terminate();
  FWake.Signal();
  TKivThread::Stop();
}

void TChannelKiller::Add(std::shared_ptr<TMusicChannel> channel) {
  {
    std::lock_guard lock(FLock);
    FChannels.push_back(std::move(channel));
  }
  FWake.Signal();
}

size_t TChannelKiller::Count() const {
  std::lock_guard lock(FLock);
  return FChannels.size();
}

size_t TChannelKiller::Sweep() {
  const uint32_t now = Clock().NowMs();
  std::vector<std::shared_ptr<TMusicChannel>> due;
  {
    std::lock_guard lock(FLock);
    // From the last to the first, as they were handed over.
    for (size_t i = FChannels.size(); i-- > 0;) {
      if (!FChannels[i]->DeadlinePassed(now)) continue;
      due.push_back(std::move(FChannels[i]));
      FChannels.erase(FChannels.begin() + ptrdiff_t(i));
    }
  }
  for (auto& channel : due) {
    const std::shared_ptr<TChannelLink> link = channel->Link();
    std::function<void()> finished;
    {
      std::lock_guard lock(link->Lock);
      if (link->Owner) finished = link->Owner->ReleasePhysicalLocked(channel);
      if (finished) link->Raisers.push_back(std::this_thread::get_id());
    }
    // Raised without any lock held: the event may use the channel freely.
    if (finished) {
      finished();
      {
        std::lock_guard lock(link->Lock);
        auto& raisers = link->Raisers;
        raisers.erase(std::find(raisers.begin(), raisers.end(), std::this_thread::get_id()));
      }
      link->Raised.notify_all();
    }
    channel.reset();  // freed here unless someone still holds it
  }
  return due.size();
}

void TChannelKiller::Iteration() {
  FWake.WaitMs(Count() > 0 ? kBusyPeriodMs : kIdlePeriodMs);
  if (!Terminated()) Sweep();
}

TChannelKiller& ChannelKiller() {
  // Made on first use; it lives until the program ends.
  static TChannelKiller killer;
  static std::once_flag started;
  std::call_once(started, [] { killer.Start(); });
  return killer;
}

}  // namespace kiv
