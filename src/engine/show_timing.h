#pragma once
// The show time shared by the engine (which writes it) and the slide loader and producer
// (which read it to know which slides to prepare).
#include <atomic>

namespace kiv {

class TShowTiming {
 public:
  double Current() const { return FCurrent.load(); }
  void SetCurrent(double ms) { FCurrent.store(ms); }
  // Where the clock wants to be this frame, before stop points hold it back.
  double Target() const { return FTarget.load(); }
  void SetTarget(double ms) { FTarget.store(ms); }

 private:
  std::atomic<double> FCurrent{0};
  std::atomic<double> FTarget{0};
};

}  // namespace kiv
