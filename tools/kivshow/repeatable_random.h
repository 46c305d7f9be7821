#pragma once
// Chance that plays the same way every run, so that a rendered show with a random slide
// order or random transitions gives the same frames each time it is rendered.
#include <mutex>
#include <random>

#include "model/random_source.h"

namespace kiv {

class TRepeatableRandom : public IRandomSource {
 public:
  TRepeatableRandom() { Reseed(); }
  uint32_t Random(uint32_t n) override;
  // Starts the same sequence again.
  void Reseed() override;

 private:
  std::mutex FLock;
  std::mt19937 FGenerator;
};

// Makes a TRepeatableRandom the process-wide source for its lifetime.
class TRepeatableRandomScope {
 public:
  TRepeatableRandomScope() : FPrevious(SetRandomSource(&FRandom)) {}
  ~TRepeatableRandomScope() { SetRandomSource(FPrevious); }
  TRepeatableRandomScope(const TRepeatableRandomScope&) = delete;
  TRepeatableRandomScope& operator=(const TRepeatableRandomScope&) = delete;

 private:
  TRepeatableRandom FRandom;
  IRandomSource* FPrevious;
};

}  // namespace kiv
