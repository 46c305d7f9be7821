#pragma once
// The prepared slides around the show time: the visible ones and the look-ahead after
// them, at most three, in index order. Each update makes at most one new container, so
// the cache fills ahead over successive calls without stalling any of them.
#include <functional>
#include <memory>
#include <vector>

#include "model/draw_container.h"
#include "model/slide_cache_policy.h"
#include "model/slide_producer.h"

namespace kiv {

class TSlideCache {
 public:
  // The producer is kept, not owned. lookAhead: slides wanted from the first visible
  // one on, clamped to 1 … 3.
  TSlideCache(TSlideProducer& producer, int lookAhead);

  int LookAhead() const { return FPolicy.LookAhead(); }
  // Shared so that whoever draws a container may keep it after the cache dropped it.
  const std::vector<std::shared_ptr<TDrawContainer>>& Containers() const { return FContainers; }

  // Run after every drop and every insertion.
  void SetChangeHook(std::function<void()> hook) { FOnChange = std::move(hook); }
  // Run with each new container before it is inserted.
  void SetAddedHook(std::function<void(const std::shared_ptr<TDrawContainer>&)> hook) { FOnAdded = std::move(hook); }

  // Drops the containers the show has left behind, then makes the first wanted one that
  // is missing. True when one was made. Makes none while the program asks its loaders
  // to stop (TProgressMode::Stop), and keeps none whose building that cut short. Fails with "No Slides in Presentation" for a
  // show without slides.
  bool Update(double time);

 private:
  void Changed();

  TSlideProducer& FProducer;
  TSlideCachePolicy FPolicy;
  std::vector<std::shared_ptr<TDrawContainer>> FContainers;
  std::function<void()> FOnChange;
  std::function<void(const std::shared_ptr<TDrawContainer>&)> FOnAdded;
};

}  // namespace kiv
