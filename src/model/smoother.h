#pragma once
// One trapezoidal motion: from rest it speeds up evenly, cruises at a constant speed and
// comes to rest again, covering exactly the distance from one value to another.
namespace kiv {

class TSmoother {
 public:
  // The phases in ms; negative lengths count as 0.
  void SetupMotion(double from, double to, double accelerating, double cruising, double decelerating);
  // The value elapsed ms after the start: from before it, to at and after its end.
  double MotionValue(double elapsed) const;

 private:
  double FFrom = 0;
  double FTo = 0;
  double FT1 = 0;  // end of speeding up
  double FT2 = 0;  // end of cruising
  double FT3 = 0;  // end of slowing down
  double FSpeed = 0;
  double FValueAtT1 = 0;
  double FValueAtT2 = 0;
  double FInvAccelerating = 0;  // 0 when there is no such phase
  double FInvDecelerating = 0;
};

}  // namespace kiv
