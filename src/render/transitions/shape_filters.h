#pragma once
// The growing shapes: their outlines at a distance from the centre and the reach at
// which they cover the slide area.
#include "render/transitions/common_filter.h"

namespace kiv {

// A disc. A centre outside the slide area grows from the area's nearest point and takes
// twice as many sectors, so the visible arc of the larger circle stays round.
class TCircleFilter : public TCommonFilter {
 public:
  using TCommonFilter::TCommonFilter;

 protected:
  float ComputeExtent() const override;
  TMaskPolygon Outline(float distance, float alpha) const override;

 private:
  float Outside() const;
};

// |x − cx| + |y − cy| ≤ distance.
class TRhombFilter : public TCommonFilter {
 public:
  using TCommonFilter::TCommonFilter;

 protected:
  float ComputeExtent() const override;
  TMaskPolygon Outline(float distance, float alpha) const override;
};

// A rectangle of the slide area's proportions.
class TSquareFilter : public TCommonFilter {
 public:
  using TCommonFilter::TCommonFilter;

 protected:
  float ComputeExtent() const override;
  TMaskPolygon Outline(float distance, float alpha) const override;
};

// A strip of the whole height: |x − cx| ≤ distance.
class THLines : public TCommonFilter {
 public:
  using TCommonFilter::TCommonFilter;

 protected:
  float ComputeExtent() const override;
  TMaskPolygon Outline(float distance, float alpha) const override;
};

// A strip of the whole width: |y − cy| ≤ distance.
class TVLines : public TCommonFilter {
 public:
  using TCommonFilter::TCommonFilter;

 protected:
  float ComputeExtent() const override;
  TMaskPolygon Outline(float distance, float alpha) const override;
};

// Bands with 45° edges. Mode 0 grows from the top-left corner (only the leading edge is
// seen), mode 1 both ways from the diagonal through the middle, mode 2 from the
// bottom-right corner; mirrored, the edges lean the other way.
class TDiagLines : public TCommonFilter {
 public:
  TDiagLines(int effectClass, int effectType, const TEffectParams& params, const TRect& rect, int softEdge,
             int32_t duration, int mode, bool mirrored);

 protected:
  float ComputeExtent() const override;
  TMaskPolygon Outline(float distance, float alpha) const override;

 private:
  // Where the middle of the band crosses the top of the slide area, from its left edge.
  float Start() const;

  int FMode;
  bool FMirrored;
};

}  // namespace kiv
