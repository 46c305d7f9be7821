#include "base/thread_event_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

namespace kiv {
namespace {

// Counts how many request data objects are alive.
struct TCountedData : TMessageData {
  explicit TCountedData(std::atomic<int>& alive, int value = 0) : Alive(alive), Value(value) { ++Alive; }
  ~TCountedData() override { --Alive; }
  std::atomic<int>& Alive;
  int Value;
};

// Waits (really) until the queue holds count requests.
void WaitForCount(const TThreadEventList& queue, size_t count) {
  for (int i = 0; i < 5000 && queue.Count() < count; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(queue.Count(), count);
}

TEST(ThreadEventList, PostedRequestsAreHandledInOrderAndTheirDataFreed) {
  std::atomic<int> alive = 0;
  std::vector<int> seen;
  TThreadEventList queue([&](int code, TMessageData* data) {
    seen.push_back(code * 100 + (data ? static_cast<TCountedData*>(data)->Value : 0));
  });
  EXPECT_TRUE(queue.Post(1, std::make_unique<TCountedData>(alive, 7)));
  EXPECT_TRUE(queue.Post(2));
  EXPECT_TRUE(queue.Post(3, std::make_unique<TCountedData>(alive, 9)));
  EXPECT_EQ(alive, 2);
  EXPECT_EQ(queue.Count(), 3u);
  queue.Process();
  EXPECT_EQ(seen, (std::vector<int>{107, 200, 309}));
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(queue.Count(), 0u);
}

TEST(ThreadEventList, SendWaitsUntilHandledAndKeepsTheSendersData) {
  std::atomic<int> alive = 0;
  TThreadEventList queue([](int, TMessageData* data) { static_cast<TCountedData*>(data)->Value = 42; });
  TCountedData data(alive, 1);
  auto sent = std::async(std::launch::async, [&] { return queue.Send(5, &data); });
  WaitForCount(queue, 1);
  EXPECT_EQ(sent.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);  // still waiting
  queue.Process();
  EXPECT_TRUE(sent.get());
  EXPECT_EQ(data.Value, 42);
  EXPECT_EQ(alive, 1);  // not freed by the queue
}

TEST(ThreadEventList, FailingHandlerIsSwallowedAndReleasesItsSender) {
  std::vector<int> seen;
  TThreadEventList queue([&](int code, TMessageData*) {
    seen.push_back(code);
    if (code == 1) throw std::runtime_error("bad request");
  });
  auto sent = std::async(std::launch::async, [&] { return queue.Send(1); });
  WaitForCount(queue, 1);
  queue.Post(2);
  queue.Process();
  EXPECT_TRUE(sent.get());  // handled, although the handler failed
  EXPECT_EQ(seen, (std::vector<int>{1, 2}));
}

TEST(ThreadEventList, CloseReleasesSendersAndDropsLaterRequests) {
  std::atomic<int> alive = 0;
  int handled = 0;
  TThreadEventList queue([&](int, TMessageData*) { ++handled; });
  queue.Post(1, std::make_unique<TCountedData>(alive));
  auto sent = std::async(std::launch::async, [&] { return queue.Send(2); });
  WaitForCount(queue, 2);
  queue.Close();
  EXPECT_FALSE(sent.get());
  EXPECT_TRUE(queue.Closed());
  EXPECT_EQ(alive, 0);  // the queued post's data went with the queue

  EXPECT_FALSE(queue.Post(3, std::make_unique<TCountedData>(alive)));
  EXPECT_EQ(alive, 0);
  EXPECT_FALSE(queue.Send(4));  // returns at once
  queue.Process();
  EXPECT_EQ(handled, 0);
}

TEST(ThreadEventList, ProcessCodeHandlesOneKindAndKeepsTheOthersInOrder) {
  std::vector<int> seen;
  TThreadEventList queue([&](int code, TMessageData*) { seen.push_back(code); });
  for (int code : {11, 101, 103, 101, 13}) queue.Post(code);
  queue.ProcessCode(101);
  EXPECT_EQ(seen, (std::vector<int>{101, 101}));
  EXPECT_EQ(queue.Count(), 3u);
  seen.clear();
  queue.Process();
  EXPECT_EQ(seen, (std::vector<int>{11, 103, 13}));
}

TEST(ThreadEventList, HandlersMayUseTheQueueAndTheirOwnPostsWaitForTheNextTurn) {
  TThreadEventList* self = nullptr;
  int handled = 0;
  TThreadEventList queue([&](int code, TMessageData*) {
    ++handled;
    EXPECT_EQ(self->Count(), 0u);  // the lock is free while a request is handled
    self->Post(code + 1);
  });
  self = &queue;
  queue.Post(1);
  queue.Process();  // would never end if it handled what its handler adds
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(queue.Count(), 1u);
}

TEST(ThreadEventList, ManySendersFromManyThreadsAreEachHandledOnce) {
  std::atomic<int> handled = 0;
  TThreadEventList queue([&](int, TMessageData*) { ++handled; });
  std::vector<std::future<bool>> senders;
  for (int i = 0; i < 8; ++i)
    senders.push_back(std::async(std::launch::async, [&] {
      bool all = true;
      for (int j = 0; j < 50; ++j) all = queue.Send(j) && all;
      return all;
    }));
  std::atomic<bool> done = false;
  std::thread owner([&] {
    while (!done) queue.Process();
  });
  for (auto& sender : senders) EXPECT_TRUE(sender.get());
  done = true;
  owner.join();
  EXPECT_EQ(handled, 400);
}

}  // namespace
}  // namespace kiv
