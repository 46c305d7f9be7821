#include "model/keypoint_reading.h"

#include "model/finite_values.h"

namespace kiv {

namespace {

constexpr std::u16string_view kOriginNames[] = {u"SlideBegin", u"PrevEffectEnd", u"NextEffectBegin", u"SlideEnd"};

float ReadAngle(const TIniIdentList& section, std::u16string_view name) {
  return float(ReadFiniteFloat(section, name, 0) * kRadiansPerDegree);
}

}  // namespace

TKeyPoint& AddKeyPointFrom(const TIniIdentList& section, TKeyPointList& list) {
  const double time = ReadShowTime(section, u"Time", 0);
  const auto origin = TKeyOrigin(section.ReadEnum(u"Origin", kOriginNames, int(TKeyOrigin::SlideBegin)));
  return list.AddKeyPoint(origin, time);
}

void ReadKeyValues(const TIniIdentList& section, TKeyValues& values) {
  const TKeyValues defaults;
  values.Opacity = ReadFiniteFloat(section, u"Opacity", defaults.Opacity);
  values.Angle = ReadAngle(section, u"Angle");
  values.ScaleX = ReadFiniteFloat(section, u"ScaleX", defaults.ScaleX);
  values.ScaleY = ReadFiniteFloat(section, u"ScaleY", defaults.ScaleY);
  values.Position = ReadFinitePoint(section, u"Position", defaults.Position);
  values.CenterPos = ReadFinitePoint(section, u"CenterPos", defaults.CenterPos);
  values.AngleX = ReadAngle(section, u"AngleX");
  values.AngleY = ReadAngle(section, u"AngleY");
  values.ZPos = ReadFiniteFloat(section, u"ZPos", defaults.ZPos);
  values.Blur = ReadFiniteFloat(section, u"Blur", defaults.Blur);
}

}  // namespace kiv
