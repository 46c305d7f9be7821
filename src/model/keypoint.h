#pragma once
// A keypoint: the object's animated values pinned to a moment of its slide.
#include <cstdint>

#include "model/keypoint_values.h"

namespace kiv {

class TKeyPointList;

class TKeyPoint {
 public:
  // Scales never reach 0, so the perspective ratio between two keypoints stays finite.
  static constexpr float kMinScale = 0.001f;

  // serial orders keypoints of equal time: the one made first comes first.
  TKeyPoint(TKeyPointList& list, uint64_t serial, TKeyOrigin origin, double time);
  TKeyPoint(const TKeyPoint&) = delete;
  TKeyPoint& operator=(const TKeyPoint&) = delete;

  TKeyPointList& List() const { return FList; }
  uint64_t Serial() const { return FSerial; }

  double Time() const { return FTime; }
  TKeyOrigin Origin() const { return FOrigin; }
  // Both move the keypoint within its list when they change it. A time that is not a
  // finite number is ignored.
  void SetTime(double time);
  void SetOrigin(TKeyOrigin origin);
  // The origin's moment plus the time, on the show clock.
  double AbsoluteTime() const;
  // The absolute time truncated toward zero (limited to 32 bits), as speed profiles count.
  int32_t IntegerTime() const;

  const TKeyValues& Values() const { return FValues; }
  // Takes every value (scales raised to kMinScale); marks the keypoint changed when any
  // differs from the old one at 1/10000.
  void SetValues(const TKeyValues& values);

  bool Changed() const { return FChanged; }
  void SetChanged(bool changed) { FChanged = changed; }

 private:
  bool FChanged = true;  // a new keypoint is news to whoever draws it
  TKeyPointList& FList;
  uint64_t FSerial;
  double FTime = 0;
  TKeyOrigin FOrigin = TKeyOrigin::SlideBegin;
  TKeyValues FValues;
};

// Whether two values differ once taken to 1/10000 (halves to even).
bool ValuesDiffer(double a, double b);

}  // namespace kiv
