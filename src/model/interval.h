#pragma once
// One run of a speed profile: the motion between two keypoints (possibly with others in
// between) that speeds up, cruises and slows down instead of moving linearly.
namespace kiv {

struct TInterval {
  int From = 0;   // index of the first key time of the run
  int To = 0;     // index of the last one
  double S1 = 0;  // fraction of the run spent speeding up
  double S2 = 1;  // fraction of the run after which it slows down

  // Whether (s1, s2) describes a run at all: 0 ≤ s1 ≤ s2 ≤ 1. Other pairs would make the
  // phases overlap or run backwards (s1 = 1, s2 = 0 even divides by zero).
  static bool SoundPair(double s1, double s2);
  // Whether the run eases in or out at whole percents; the pair (0, 1) is a plain linear
  // run and leaves the group to linear blending.
  bool Eases() const;
};

}  // namespace kiv
