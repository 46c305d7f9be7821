#pragma once
// The one source of chance for slide order and transition choice. Everything random in
// the show model draws from an IRandomSource, so tests can script the draws.
#include <cstdint>
#include <mutex>
#include <random>

namespace kiv {

class IRandomSource {
 public:
  virtual ~IRandomSource() = default;
  // A uniform integer in [0, n); 0 when n is 0.
  virtual uint32_t Random(uint32_t n) = 0;
  // Starts a fresh sequence from the clock.
  virtual void Reseed() = 0;
};

// A Mersenne twister seeded from the process clock mixed with the system's entropy
// source, so two reseeds within one millisecond still differ. Safe to share between threads.
class TClockSeededRandom : public IRandomSource {
 public:
  TClockSeededRandom() { Reseed(); }
  uint32_t Random(uint32_t n) override;
  void Reseed() override;

 private:
  std::mutex FLock;
  std::mt19937 FGenerator;
};

// The process-wide source; a clock-seeded one unless a test installs another.
IRandomSource& RandomSource();
// Installs source (not owned; nullptr restores the clock-seeded one). Returns the previous one.
IRandomSource* SetRandomSource(IRandomSource* source);

}  // namespace kiv
