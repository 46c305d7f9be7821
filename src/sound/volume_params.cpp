#include "sound/volume_params.h"

#include <algorithm>
#include <cmath>

namespace kiv {

namespace {

constexpr int32_t kEdgeFadeMs = 10;
// Times beyond this (about 11.5 days) are cut to it, so that byte positions and sums of
// times stay far from overflowing.
constexpr double kLongestMs = 1e9;

int32_t ClampedMs(double ms) {
  if (!(ms > 0)) return 0;  // also NaN
  return int32_t(std::llround(std::min(ms, kLongestMs)));
}

}  // namespace

int64_t MixBytes(double ms) {
  if (std::isnan(ms)) return 0;
  ms = std::clamp(ms, -1e12, 1e12);
  return (int64_t(ms * 176400) / 4000) * 4;
}

void TVolumeParams::AddPoint(int32_t timeMs, int32_t volume) { FPoints.push_back({timeMs, volume}); }

void TVolumeParams::Prepare(double lengthMs) {
  FSegments.clear();
  std::vector<TVolumeItem> points = FPoints;
  const int32_t lastVolume = points.empty() ? 1000 : points.back().Volume;
  points.push_back({ClampedMs(lengthMs), lastVolume});
  // Of points at the same time the first added survives (the held end point yields to a
  // point of the envelope's own).
  std::stable_sort(points.begin(), points.end(),
                   [](const TVolumeItem& a, const TVolumeItem& b) { return a.Time < b.Time; });
  points.erase(std::unique(points.begin(), points.end(),
                           [](const TVolumeItem& a, const TVolumeItem& b) { return a.Time == b.Time; }),
               points.end());

  FSegments.reserve(points.size());
  int64_t previousEnd = 0;
  int32_t previousVolume = points.front().Volume;
  for (const TVolumeItem& point : points) {
    TVolumeSegment segment;
    segment.End = MixBytes(point.Time);
    if (segment.End == previousEnd) {
      segment.Constant = true;
    } else {
      segment.Slope = double(point.Volume - previousVolume) / (double(segment.End - previousEnd) * 250);
      segment.Constant = point.Volume == previousVolume;
    }
    segment.EndFactor = point.Volume / 1000.0;
    FSegments.push_back(segment);
    previousEnd = segment.End;
    previousVolume = point.Volume;
  }
  FSegments.back().Last = true;
  FCursor = 0;
  FFinished = false;
  FConstant = false;
  SetFactor(FSegments.front().EndFactor);
}

void TVolumeParams::SetFactor(double factor) {
  FFactor = factor;
  FUnity = factor > 0.99 && factor < 1.01;
}

void TVolumeParams::Advance(double slope) { SetFactor(FFactor + slope); }

void TVolumeParams::Seek(int64_t bytePos) {
  FFinished = false;
  if (FSegments.empty()) {
    SetFactor(1);
    FConstant = true;
    return;
  }
  const auto found = std::upper_bound(FSegments.begin(), FSegments.end(), bytePos,
                                      [](int64_t pos, const TVolumeSegment& s) { return pos < s.End; });
  if (found == FSegments.end()) {
    // Past the last point the last level holds.
    FCursor = FSegments.size() - 1;
    FConstant = true;
    SetFactor(FSegments.back().EndFactor);
    return;
  }
  FCursor = size_t(found - FSegments.begin());
  FConstant = found->Constant;
  SetFactor(found->EndFactor - double((found->End - bytePos) / 4) * found->Slope);
}

double TVolumeParams::Step(int64_t bytePos) {
  if (FSegments.empty()) {
    FFinished = true;
    FConstant = true;
    return 0;
  }
  if (bytePos < 0) {
    SetFactor(FSegments.front().EndFactor);
    FConstant = true;
    return 0;
  }
  if (bytePos >= FSegments.back().End) {
    if (!FFinished) SetFactor(FSegments.back().EndFactor);
    FFinished = FSegments.back().Last;
    FConstant = true;
    return 0;
  }
  // Segment i holds the positions from the end of segment i - 1 up to (not including) its own.
  auto holds = [&](size_t i) {
    return bytePos < FSegments[i].End && (i == 0 || bytePos >= FSegments[i - 1].End);
  };
  if (!holds(FCursor)) {
    // A new segment starts from its exact level at bytePos, so that rounding in the
    // per-frame additions never carries from one segment into the next.
    Seek(bytePos);
  }
  const TVolumeSegment& segment = FSegments[FCursor];
  FConstant = segment.Constant;
  return segment.Slope;
}

TVolumeParams& TVolumeParamsList::Add() { return FItems.emplace_back(); }

void TVolumeParamsList::Prepare(double lengthMs) {
  std::erase_if(FItems, [](const TVolumeParams& params) { return params.Generated; });
  for (TVolumeParams& params : FItems) params.Prepare(lengthMs);
  if (!FEdgeFades) return;
  // A fade of 10 ms at both ends; an item shorter than 20 ms fades up to its middle and
  // down again, so the points never run backwards or before the start.
  const int32_t length = ClampedMs(lengthMs);
  const int32_t fade = std::min(kEdgeFadeMs, length / 2);
  TVolumeParams& edges = FItems.emplace_back();
  edges.Generated = true;
  edges.AddPoint(0, 0);
  edges.AddPoint(fade, 1000);
  edges.AddPoint(length - fade, 1000);
  edges.AddPoint(length, 0);
  edges.Prepare(length);
}

void TVolumeParamsList::SeekAll(int64_t bytePos) {
  for (TVolumeParams& params : FItems) params.Seek(bytePos);
}

bool TVolumeParamsList::StepAll(int64_t bytePos) {
  bool finished = true;
  for (TVolumeParams& params : FItems) {
    const double slope = params.Step(bytePos);
    if (!params.Constant()) params.Advance(slope);
    finished = finished && params.Finished();
  }
  return finished;
}

double TVolumeParamsList::Product(bool& allUnity) const {
  double product = 1;
  allUnity = true;
  for (const TVolumeParams& params : FItems) {
    if (params.IsUnity()) continue;
    allUnity = false;
    product *= params.Factor();
  }
  return product;
}

}  // namespace kiv
