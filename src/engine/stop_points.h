#pragma once
// Where the show clock must stop by itself: at the end of a slide that waits for the
// user or loops, and at the slides that start a program.
#include <string>

namespace kiv {

class TKivSource;

// Beyond any show time.
inline constexpr double kUnreachableTime = 3.4e38;

struct TStopPoint {
  bool Found = false;
  int Slide = 0;
  double Time = kUnreachableTime;  // without a stop: the end of a show that does not repeat
  double LoopLength = 0;           // for a looping slide: the part that repeats
};

struct TRunAppPoint {
  int Slide = -1;
  double Time = kUnreachableTime;
  std::u16string Program;
};

// The first stop at or after show time x. previous is the stop found last: when x is
// its time the search goes on from its slide. Without stops enabled there is none.
TStopPoint FindStop(const TKivSource& source, double x, const TStopPoint& previous, bool enabled);

// The first slide after x (once round the show) that starts a program; its time is the
// slide's start + 1 ms. When x is the previous point's time the search starts after it.
TRunAppPoint FindRunApp(const TKivSource& source, double x, const TRunAppPoint& previous, bool enabled);

}  // namespace kiv
