#include "model/random_source.h"

#include <atomic>

#include "base/clock.h"

namespace kiv {

namespace {
TClockSeededRandom gClockSeededRandom;
std::atomic<IRandomSource*> gRandomSource{&gClockSeededRandom};
}  // namespace

uint32_t TClockSeededRandom::Random(uint32_t n) {
  if (n == 0) return 0;
  std::lock_guard lock(FLock);
  return std::uniform_int_distribution<uint32_t>(0, n - 1)(FGenerator);
}

void TClockSeededRandom::Reseed() {
  std::random_device entropy;
  std::seed_seq seed{Clock().NowMs(), entropy()};
  std::lock_guard lock(FLock);
  FGenerator.seed(seed);
}

IRandomSource& RandomSource() { return *gRandomSource.load(); }

IRandomSource* SetRandomSource(IRandomSource* source) {
  IRandomSource* previous = gRandomSource.exchange(source ? source : &gClockSeededRandom);
  return previous == &gClockSeededRandom ? nullptr : previous;
}

}  // namespace kiv
