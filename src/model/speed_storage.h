#pragma once
// A speed profile of one group of animated values (pan, zoom or rotation): the integer
// times of the object's keypoints, in order, and the runs over them that ease in and
// out. Its text form is the value of "PanSpeed", "ZoomSpeed" and "RotateSpeed".
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/interval.h"

namespace kiv {

class TSpeedStorage {
 public:
  // Counts of key times and of runs a text may hold.
  static constexpr int kMaxCount = 10000;

  const std::vector<int32_t>& Keys() const { return FKeys; }
  const std::vector<TInterval>& Intervals() const { return FIntervals; }
  // The pair new runs get.
  double DefaultS1() const { return FDefaultS1; }
  double DefaultS2() const { return FDefaultS2; }

  // Inserts a key time after any equal ones. The second key opens a run over both; a
  // key before the first or after the last lengthens the run at that end; a key in
  // between joins the run that spans its place.
  void AddKey(int32_t time);
  // Removes the first key of that time, which must be present.
  void RemoveKey(int32_t time);
  // Removes the key at index (which must exist). Indexes above it move down; a run that
  // ended there and one that started there merge; runs left without length are dropped.
  void RemoveKeyAt(int index);
  // Gives the keys new times, one for one.
  void SetKeys(std::vector<int32_t> times);

  // "K;t1;…;tK;N;from;to;s1;s2;…;s1;s2;": key times, runs, then the default pair.
  std::u16string AsText() const;
  // Replaces the profile with the one text describes (the default pair is optional). A
  // text that does not parse, has counts beyond kMaxCount, key times out of order, runs
  // whose indexes are not keys or whose pair is not sound leaves a single key time 0
  // and answers false. Runs of no length are dropped when there is more than one key.
  bool FromText(std::u16string_view text);

  // Runs after every change of keys or runs.
  void SetChangeHook(std::function<void()> hook) { FChangeHook = std::move(hook); }

 private:
  bool Parse(std::u16string_view text);
  void Changed() const;

  double FDefaultS1 = 0;
  double FDefaultS2 = 1;
  std::vector<int32_t> FKeys;
  std::vector<TInterval> FIntervals;
  std::function<void()> FChangeHook;
};

}  // namespace kiv
