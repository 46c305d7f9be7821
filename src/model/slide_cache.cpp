#include "model/slide_cache.h"

#include <algorithm>

#include "base/progress_hook.h"

namespace kiv {

TSlideCache::TSlideCache(TSlideProducer& producer, int lookAhead)
    : FProducer(producer), FPolicy(producer.Source(), lookAhead) {}

void TSlideCache::Changed() {
  if (FOnChange) FOnChange();
}

bool TSlideCache::Update(double time) {
  std::vector<int> held;
  for (const std::shared_ptr<TDrawContainer>& container : FContainers) held.push_back(container->Index());
  const TSlideCacheStep step = FPolicy.Update(time, held);

  for (int index : step.Dropped) {
    std::erase_if(FContainers, [index](const auto& container) { return container->Index() == index; });
    Changed();
  }
  // While the program stops or opens another show, no slide is begun, and one whose
  // building was cut short is not kept.
  if (!step.Added || ProgressMode() == TProgressMode::Stop) return false;

  std::shared_ptr<TDrawContainer> container = FProducer.MakeContainer(*step.Added);
  if (ProgressMode() == TProgressMode::Stop) return false;
  if (FOnAdded) FOnAdded(container);
  const auto place = std::upper_bound(FContainers.begin(), FContainers.end(), container->Index(),
                                      [](int index, const auto& held) { return index < held->Index(); });
  FContainers.insert(place, std::move(container));
  Changed();
  return true;
}

}  // namespace kiv
