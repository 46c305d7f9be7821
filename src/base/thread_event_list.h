#pragma once
// A thread's request queue. Other threads post requests (and go on) or send them (and
// wait until the owner has handled them); the owning thread handles them in order. The
// queue's lock is never held while a request is handled or while a sender waits, so a
// handler may post, send elsewhere or read the queue freely.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace kiv {

// What a request carries; each kind of request derives its own.
class TMessageData {
 public:
  virtual ~TMessageData() = default;
};

using TMessageHandler = std::function<void(int code, TMessageData* data)>;

class TThreadEventList {
 public:
  explicit TThreadEventList(TMessageHandler handler = {});
  ~TThreadEventList();  // closes the queue
  TThreadEventList(const TThreadEventList&) = delete;
  TThreadEventList& operator=(const TThreadEventList&) = delete;

  // Set before anything is processed.
  void SetHandler(TMessageHandler handler) { FHandler = std::move(handler); }

  // Appends a request; the queue owns data and frees it after handling. After Close the
  // request is dropped (data freed) and the answer is false.
  bool Post(int code, std::unique_ptr<TMessageData> data = nullptr);
  // Appends a request and waits until it was handled; data stays the sender's. False when
  // the queue was closed before the request was handled. Never call it from the thread
  // that processes this queue.
  bool Send(int code, TMessageData* data = nullptr);

  // Handles the requests queued when called, first in first out. Requests that handlers
  // add meanwhile wait for the next call. Exceptions from the handler are logged and
  // swallowed; a sender is released either way.
  void Process();
  // The same for the requests with one code only; the others keep their place.
  void ProcessCode(int code);

  // Releases every waiting sender and drops the queued requests; from then on posts are
  // dropped and sends return at once.
  void Close();
  bool Closed() const;
  size_t Count() const;

 private:
  // One queued request. A sent one shares its state with the waiting sender.
  enum class TSendState { Waiting, Handled, Dropped };
  struct TMessageItem {
    int Code = 0;
    std::unique_ptr<TMessageData> OwnedData;
    TMessageData* Data = nullptr;
    std::shared_ptr<TSendState> Sent;  // null for a post
  };

  bool PopNext(TMessageItem& item, const int* onlyCode);
  void Handle(TMessageItem& item);
  void Finish(TMessageItem& item, TSendState state);

  TMessageHandler FHandler;
  mutable std::mutex FLock;
  std::condition_variable FSendersWake;
  std::deque<TMessageItem> FItems;
  bool FClosed = false;
};

}  // namespace kiv
