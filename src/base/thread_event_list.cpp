#include "base/thread_event_list.h"

#include <algorithm>
#include <exception>
#include <string>

#include "base/log.h"

namespace kiv {

TThreadEventList::TThreadEventList(TMessageHandler handler) : FHandler(std::move(handler)) {}

TThreadEventList::~TThreadEventList() { Close(); }

bool TThreadEventList::Post(int code, std::unique_ptr<TMessageData> data) {
  std::lock_guard lock(FLock);
  if (FClosed) return false;  // data is freed with the parameter, after the lock
  TMessageItem item;
  item.Code = code;
  item.Data = data.get();
  item.OwnedData = std::move(data);
  FItems.push_back(std::move(item));
  return true;
}

bool TThreadEventList::Send(int code, TMessageData* data) {
  auto state = std::make_shared<TSendState>(TSendState::Waiting);
  std::unique_lock lock(FLock);
  if (FClosed) return false;
  TMessageItem item;
  item.Code = code;
  item.Data = data;
  item.Sent = state;
  FItems.push_back(std::move(item));
  // Only the sender's own state ends the wait: a request being handled while the queue
  // closes still uses data until its handler returns.
  FSendersWake.wait(lock, [&] { return *state != TSendState::Waiting; });
  return *state == TSendState::Handled;
}

bool TThreadEventList::PopNext(TMessageItem& item, const int* onlyCode) {
  std::lock_guard lock(FLock);
  auto found = onlyCode ? std::find_if(FItems.begin(), FItems.end(),
                                       [&](const TMessageItem& queued) { return queued.Code == *onlyCode; })
                        : FItems.begin();
  if (found == FItems.end()) return false;
  item = std::move(*found);
  FItems.erase(found);
  return true;
}

void TThreadEventList::Handle(TMessageItem& item) {
  try {
    if (FHandler) FHandler(item.Code, item.Data);
  } catch (const std::exception& error) {
    Log().Write("TThreadEventList: request " + std::to_string(item.Code) + " failed: " + error.what());
  } catch (...) {
    Log().Write("TThreadEventList: request " + std::to_string(item.Code) + " failed");
  }
  Finish(item, TSendState::Handled);
}

void TThreadEventList::Finish(TMessageItem& item, TSendState state) {
  if (!item.Sent) return;
  std::lock_guard lock(FLock);
  *item.Sent = state;
  FSendersWake.notify_all();
}

void TThreadEventList::Process() {
  size_t count = Count();
  TMessageItem item;
  while (count-- > 0 && PopNext(item, nullptr)) Handle(item);
}

void TThreadEventList::ProcessCode(int code) {
  size_t count;
  {
    std::lock_guard lock(FLock);
    count = size_t(std::count_if(FItems.begin(), FItems.end(), [&](const TMessageItem& queued) { return queued.Code == code; }));
  }
  TMessageItem item;
  while (count-- > 0 && PopNext(item, &code)) Handle(item);
}

void TThreadEventList::Close() {
  std::deque<TMessageItem> dropped;
  {
    std::lock_guard lock(FLock);
    FClosed = true;
    dropped.swap(FItems);
    for (TMessageItem& item : dropped)
      if (item.Sent) *item.Sent = TSendState::Dropped;
    FSendersWake.notify_all();
  }
  // Posted data is freed here, outside the lock, in case its destructor posts again.
}

bool TThreadEventList::Closed() const {
  std::lock_guard lock(FLock);
  return FClosed;
}

size_t TThreadEventList::Count() const {
  std::lock_guard lock(FLock);
  return FItems.size();
}

}  // namespace kiv
