#include "kivshow/repeatable_random.h"

namespace kiv {

namespace {
constexpr std::mt19937::result_type kSeed = 20250101;
}  // namespace

uint32_t TRepeatableRandom::Random(uint32_t n) {
  if (n == 0) return 0;
  std::lock_guard lock(FLock);
  return uint32_t(FGenerator() % n);  // the generator's own output, the same with every library
}

void TRepeatableRandom::Reseed() {
  std::lock_guard lock(FLock);
  FGenerator.seed(kSeed);
}

}  // namespace kiv
