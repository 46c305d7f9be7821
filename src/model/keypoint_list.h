#pragma once
// The keypoints of one object in time order, and the values they give at a time: the
// keypoints around it blended linearly, with a perspective correction for zooms, or
// along the eased runs of the pan, zoom and rotation speed profiles.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "model/keypoint.h"
#include "model/smoother.h"
#include "model/speed_storage.h"

namespace kiv {

// The groups of values that have a speed profile of their own.
enum class TSpeedGroup : uint8_t {
  Pan = 0,     // Position and ZPos
  Zoom = 1,    // ScaleX and ScaleY
  Rotate = 2,  // Angle, AngleX and AngleY
};

class TKeyPointList : protected TSmoother {
 public:
  TKeyPointList() = default;
  virtual ~TKeyPointList() = default;
  TKeyPointList(const TKeyPointList&) = delete;
  TKeyPointList& operator=(const TKeyPointList&) = delete;

  // The show time origin stands for; a list of its own counts every time from 0.
  virtual double OriginTime(TKeyOrigin origin) const;

  int Count() const { return int(FKeyPoints.size()); }
  TKeyPoint& operator[](int index) const { return *FKeyPoints[size_t(index)]; }

  // A keypoint with the default values at origin + time, placed after the keypoints of
  // the same time. Its integer time joins every speed profile at the matching index.
  TKeyPoint& AddKeyPoint(TKeyOrigin origin, double time);
  // Removes the keypoint and its time from every speed profile.
  void Delete(int index);
  // Removes every keypoint and every speed profile; the current values stay.
  void Clear();
  // Copies the current values into keypoint (so its changed flag follows them).
  void ApplyCurrentValues(TKeyPoint& keypoint) const { keypoint.SetValues(FCurrent); }

  // The values at time become the current ones; without keypoints they stay.
  void Evaluate(double time);
  double LastTime() const { return FLastTime; }
  // Whether the last evaluated time lies between SlideBegin and SlideEnd.
  bool Inside() const { return FInside; }
  TKeyValues& Current() { return FCurrent; }
  const TKeyValues& Current() const { return FCurrent; }

  bool PerspectiveCorrection() const { return FPerspectiveCorrection; }
  void SetPerspectiveCorrection(bool on) { FPerspectiveCorrection = on; }

  // Whether any keypoint or speed profile changed since the flags were last cleared.
  bool AnyChanged() const;
  void SetAllChanged(bool changed);

  // The profile of a group, made from the keypoints' integer times when there is none:
  // one run over all of them that does not ease, so the group blends linearly. Profiles
  // change only with the keypoints and through LoadProfile, so they always hold one key
  // time per keypoint.
  const TSpeedStorage& Profile(TSpeedGroup group);
  const TSpeedStorage& PanSpeed() { return Profile(TSpeedGroup::Pan); }
  const TSpeedStorage& ZoomSpeed() { return Profile(TSpeedGroup::Zoom); }
  const TSpeedStorage& RotateSpeed() { return Profile(TSpeedGroup::Rotate); }
  // Takes a profile text for a group. The text must parse and hold one key time per
  // keypoint, with runs inside them; its key times then follow the keypoints (a show
  // whose transitions last otherwise than in the editor moves them). On any mismatch
  // the group blends linearly again, and the answer is false.
  bool LoadProfile(TSpeedGroup group, std::u16string_view text);

  // Re-sorts after the origin times changed (the slide got its timing).
  void OriginTimesChanged() { KeyPointMoved(); }

 private:
  friend class TKeyPoint;
  // Re-sorts and hands the new integer times to every profile.
  void KeyPointMoved();
  std::vector<int32_t> IntegerTimes() const;
  std::unique_ptr<TSpeedStorage> ProfileFromKeyPoints() const;
  void Install(TSpeedGroup group, std::unique_ptr<TSpeedStorage> profile);
  // The run of the group's profile that eases at time, or none.
  const TInterval* EasingInterval(TSpeedGroup group, double time) const;
  // The show time a zoom at constant speed in depth shows at time, over a run.
  double PerspectiveTime(double time, const TKeyPoint& from, const TKeyPoint& to) const;
  // Blends the fields of a group between the keypoint values a and b, or moves them
  // along the group's eased run.
  template <size_t N>
  void BlendGroup(TSpeedGroup group, double time, double fraction, const std::array<float& (*)(TKeyValues&), N>& fields,
                  TKeyValues a, TKeyValues b);

  double FLastTime = 0;
  bool FInside = false;
  std::vector<std::unique_ptr<TKeyPoint>> FKeyPoints;  // by absolute time, then serial
  uint64_t FNextSerial = 0;
  std::array<std::unique_ptr<TSpeedStorage>, 3> FProfiles;  // by TSpeedGroup
  bool FProfilesChanged = false;
  TKeyValues FCurrent;
  bool FPerspectiveCorrection = false;
};

}  // namespace kiv
