#include "model/keypoint_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/keypoint_reading.h"
#include "support/project_text.h"

namespace kiv {
namespace {

TKeyPoint& AddAt(TKeyPointList& list, double time, const TKeyValues& values) {
  TKeyPoint& keypoint = list.AddKeyPoint(TKeyOrigin::SlideBegin, time);
  keypoint.SetValues(values);
  return keypoint;
}

TKeyValues WithOpacity(float opacity) {
  TKeyValues values;
  values.Opacity = opacity;
  return values;
}

TKeyValues At(float x, float scale = 100) {
  TKeyValues values;
  values.Position = {x, 0};
  values.ScaleX = scale;
  return values;
}

float OpacityAt(TKeyPointList& list, double time) {
  list.Evaluate(time);
  return list.Current().Opacity;
}

float XAt(TKeyPointList& list, double time) {
  list.Evaluate(time);
  return list.Current().Position.X;
}

// A list whose origins are the moments of a slide from 10000 to 20000 ms with one
// second of transition on either side.
class TSlideTimedList : public TKeyPointList {
 public:
  double OriginTime(TKeyOrigin origin) const override {
    constexpr double kTimes[] = {10000, 11000, 20000, 21000};
    return kTimes[size_t(origin)];
  }
};

TEST(KeyPointBlending, LinearBetweenNeighboursAndHeldOutside) {
  TKeyPointList list;
  AddAt(list, 3000, WithOpacity(100));
  AddAt(list, 1000, WithOpacity(0));
  EXPECT_FLOAT_EQ(OpacityAt(list, 2000), 50);
  EXPECT_FLOAT_EQ(OpacityAt(list, 1500), 25);
  EXPECT_FLOAT_EQ(OpacityAt(list, 500), 0);
  EXPECT_FLOAT_EQ(OpacityAt(list, 5000), 100);
  EXPECT_FLOAT_EQ(OpacityAt(list, 3000), 100);
}

TEST(KeyPointBlending, OneKeyPointGivesItsValuesAtEveryTimeAndNoneKeepsTheCurrent) {
  TKeyPointList list;
  list.Current().Opacity = 42;
  EXPECT_FLOAT_EQ(OpacityAt(list, 100), 42);
  AddAt(list, 1000, WithOpacity(30));
  for (double time : {-5000.0, 0.0, 1000.0, 99999.0}) EXPECT_FLOAT_EQ(OpacityAt(list, time), 30);
}

TEST(KeyPointBlending, EqualTimesKeepTheOrderTheyWereAddedIn) {
  TKeyPointList list;
  AddAt(list, 1000, WithOpacity(0));
  AddAt(list, 1000, WithOpacity(50));
  AddAt(list, 2000, WithOpacity(100));
  EXPECT_FLOAT_EQ(OpacityAt(list, 500), 0);     // the first added comes first
  EXPECT_FLOAT_EQ(OpacityAt(list, 1000), 50);   // once the time is reached the later one rules
  EXPECT_FLOAT_EQ(OpacityAt(list, 1500), 75);
  // Moving a keypoint away and back puts it behind its equal-timed sibling again only
  // by its making order, not by where it was moved last.
  list[0].SetTime(3000);
  list[2].SetTime(1000);
  EXPECT_FLOAT_EQ(list[0].Values().Opacity, 0);
  EXPECT_FLOAT_EQ(list[1].Values().Opacity, 50);
}

TEST(KeyPointBlending, OriginsCountFromTheirMomentsOfTheSlide) {
  TSlideTimedList list;
  AddAt(list, 0, WithOpacity(0));
  list.AddKeyPoint(TKeyOrigin::SlideEnd, -1000).SetValues(WithOpacity(100));  // 20000 ms
  EXPECT_DOUBLE_EQ(list[1].AbsoluteTime(), 20000);
  EXPECT_FLOAT_EQ(OpacityAt(list, 15000), 50);
  EXPECT_TRUE(list.Inside());
  list.Evaluate(21500);
  EXPECT_FALSE(list.Inside());
  list[1].SetOrigin(TKeyOrigin::PrevEffectEnd);  // now 10000 ms, level with the first
  EXPECT_FLOAT_EQ(list[1].Values().Opacity, 100);
  list[1].SetTime(-2000);  // 9000 ms: before it
  EXPECT_FLOAT_EQ(list[0].Values().Opacity, 100);
  EXPECT_EQ(list[0].IntegerTime(), 9000);
}

TEST(KeyPointReading, AnglesAreReadInDegreesAndHeldInRadiansAbsentKeysTakeFixedDefaults) {
  auto project = ParseProject(
      "[s]\n"
      "object A: keypoint\n"
      "  Time=250\n"
      "  Origin=nextEFFECTbegin\n"
      "  Angle=90\n"
      "  AngleX=-180\n"
      "  AngleY=45\n"
      "  Opacity=20\n"
      "  Position=10.5,-3\n"
      "  ScaleX=0\n"
      "end\n"
      "object B: keypoint\n"
      "  Origin=Somewhere\n"
      "  Opacity=1e300\n"
      "  Position=1,2,3\n"
      "end\n");
  const TIniSection* section = project->FindSection(u"s");
  ASSERT_TRUE(section);
  TSlideTimedList list;
  for (const TIniObject* item = section->FirstObject(); item; item = section->NextObject(item)) {
    TKeyPoint& keypoint = AddKeyPointFrom(*item, list);
    ReadKeyValues(*item, list.Current());
    list.ApplyCurrentValues(keypoint);
  }
  ASSERT_EQ(list.Count(), 2);
  const TKeyPoint& second = list[0];  // SlideBegin + 0
  const TKeyPoint& first = list[1];   // NextEffectBegin + 250
  EXPECT_EQ(first.Origin(), TKeyOrigin::NextEffectBegin);
  EXPECT_DOUBLE_EQ(first.AbsoluteTime(), 20250);
  EXPECT_NEAR(first.Values().Angle, std::numbers::pi / 2, 1e-6);
  EXPECT_NEAR(first.Values().AngleX, -std::numbers::pi, 1e-6);
  EXPECT_NEAR(first.Values().AngleY, std::numbers::pi / 4, 1e-6);
  EXPECT_EQ(first.Values().Position, (TPointF{10.5f, -3}));
  EXPECT_FLOAT_EQ(first.Values().ScaleX, TKeyPoint::kMinScale);  // scales never reach 0
  // Absent keys are not inherited from the keypoint read before; bad ones take defaults.
  EXPECT_EQ(second.Origin(), TKeyOrigin::SlideBegin);
  EXPECT_FLOAT_EQ(second.Values().Angle, 0);
  EXPECT_FLOAT_EQ(second.Values().Opacity, 100);
  EXPECT_EQ(second.Values().Position, (TPointF{0, 0}));
  EXPECT_FLOAT_EQ(second.Values().ScaleX, 100);
}

TEST(KeyPointBlending, PerspectiveCorrectionMovesZoomAndPanAtConstantDepthSpeed) {
  TKeyPointList list;
  AddAt(list, 0, At(0, 100)).SetValues([] {
    TKeyValues v = At(0, 100);
    v.Opacity = 0;
    return v;
  }());
  TKeyValues end = At(300, 200);
  end.Opacity = 100;
  AddAt(list, 1000, end);
  list.Evaluate(500);
  EXPECT_FLOAT_EQ(list.Current().ScaleX, 150);  // off: plain linear
  list.SetPerspectiveCorrection(true);
  list.Evaluate(500);
  EXPECT_NEAR(list.Current().ScaleX, 133.333, 1e-3);
  EXPECT_NEAR(list.Current().Position.X, 100, 1e-3);
  EXPECT_FLOAT_EQ(list.Current().Opacity, 50);  // not a zoom or pan value
}

TEST(KeyPointBlending, TrapezoidProfileEasesInCruisesAndEasesOut) {
  TKeyPointList list;
  AddAt(list, 0, At(0));
  AddAt(list, 4000, At(100));
  ASSERT_TRUE(list.LoadProfile(TSpeedGroup::Pan, u"2;0;4000;1;0;1;0.25;0.75;"));
  const std::pair<double, double> expected[] = {
      {500, 4.1667}, {1000, 16.667}, {2000, 50}, {3500, 95.833}, {4000, 100}};
  for (const auto& [time, x] : expected) EXPECT_NEAR(XAt(list, time), x, 1e-3) << time;
  // The zoom group has no eased run: it stays linear.
  list.Evaluate(1000);
  EXPECT_FLOAT_EQ(list.Current().ScaleX, 100);
}

TEST(KeyPointBlending, EasedRunSpansKeyPointsInBetween) {
  TKeyPointList list;
  AddAt(list, 0, At(0));
  AddAt(list, 1000, At(90));  // passed over by the run
  AddAt(list, 4000, At(100));
  ASSERT_TRUE(list.LoadProfile(TSpeedGroup::Pan, u"3;0;1000;4000;1;0;2;0.25;0.75;"));
  EXPECT_NEAR(XAt(list, 2000), 50, 1e-3);
  EXPECT_NEAR(XAt(list, 1000), 16.667, 1e-3);
}

TEST(KeyPointBlending, DefaultPairLeavesTheRunLinear) {
  TKeyPointList list;
  AddAt(list, 0, At(0));
  AddAt(list, 4000, At(100));
  ASSERT_TRUE(list.LoadProfile(TSpeedGroup::Pan, u"2;0;4000;1;0;1;0;1;"));
  EXPECT_NEAR(XAt(list, 1000), 25, 1e-4);
  // Ease below half a percent rounds to none.
  ASSERT_TRUE(list.LoadProfile(TSpeedGroup::Pan, u"2;0;4000;1;0;1;0.004;1;"));
  EXPECT_NEAR(XAt(list, 1000), 25, 1e-4);
}

TEST(KeyPointProfiles, ProfileTextThatDoesNotFitTheKeyPointsFallsBackToLinear) {
  TKeyPointList list;
  AddAt(list, 0, At(0));
  AddAt(list, 4000, At(100));
  const std::u16string_view broken[] = {
      u"10001;0;4000;1;0;1;0.25;0.75;",    // count out of range
      u"3;0;2000;4000;1;0;2;0.25;0.75;",   // three key times for two keypoints
      u"2;0;4000;1;0;5;0.25;0.75;",        // run ends past the keys
      u"2;0;4000;1;1;0;0.25;0.75;",        // run backwards
      u"2;0;4000;1;0;1;1;0;",              // s1 - s2 = 1: would divide by zero
      u"2;0;4000;1;0;1;0.5;0.25;",         // phases overlap
      u"2;0;4000;1;0;1;0.25;0.75",         // missing ";"
      u"2;0;4000;1;0;1;0.25;x;",           // not a number
      u"2;4000;0;1;0;1;0.25;0.75;",        // key times out of order
  };
  for (std::u16string_view text : broken) {
    EXPECT_FALSE(list.LoadProfile(TSpeedGroup::Pan, text));
    EXPECT_EQ(list.PanSpeed().Keys(), (std::vector<int32_t>{0, 4000}));
    for (double time : {0.0, 500.0, 1000.0, 3999.0}) {
      const float x = XAt(list, time);
      EXPECT_FALSE(std::isnan(x));
      EXPECT_NEAR(x, time / 40, 1e-3);
    }
  }
}

TEST(KeyPointProfiles, ProfileKeyTimesFollowTheKeyPoints) {
  // Stored with other transition times: the runs still fit the keypoints one for one.
  TSlideTimedList list;
  list.AddKeyPoint(TKeyOrigin::PrevEffectEnd, 0).SetValues(At(0));
  list.AddKeyPoint(TKeyOrigin::PrevEffectEnd, 4000).SetValues(At(100));
  ASSERT_TRUE(list.LoadProfile(TSpeedGroup::Pan, u"2;0;4000;1;0;1;0.25;0.75;"));
  EXPECT_EQ(list.PanSpeed().Keys(), (std::vector<int32_t>{11000, 15000}));
  EXPECT_NEAR(XAt(list, 13000), 50, 1e-3);
  list[1].SetTime(8000);
  EXPECT_EQ(list.PanSpeed().Keys(), (std::vector<int32_t>{11000, 19000}));
}

TEST(KeyPointProfiles, AddingAndDeletingKeyPointsKeepsProfilesInStep) {
  TKeyPointList list;
  AddAt(list, 0, At(0));
  AddAt(list, 4000, At(100));
  ASSERT_TRUE(list.LoadProfile(TSpeedGroup::Pan, u"2;0;4000;1;0;1;0.25;0.75;"));
  AddAt(list, 2000, At(10));
  EXPECT_EQ(list.PanSpeed().Keys(), (std::vector<int32_t>{0, 2000, 4000}));
  ASSERT_EQ(list.PanSpeed().Intervals().size(), 1u);
  EXPECT_EQ(list.PanSpeed().Intervals()[0].To, 2);  // the run spans the new keypoint
  EXPECT_NEAR(XAt(list, 2000), 50, 1e-3);
  list.Delete(1);
  EXPECT_EQ(list.PanSpeed().Keys(), (std::vector<int32_t>{0, 4000}));
  EXPECT_NEAR(XAt(list, 1000), 16.667, 1e-3);
  list.Delete(0);
  list.Delete(0);
  EXPECT_TRUE(list.PanSpeed().Keys().empty());
  AddAt(list, 100, At(5));
  EXPECT_EQ(list.PanSpeed().Keys(), (std::vector<int32_t>{100}));
}

TEST(KeyPointChanges, SettersMarkChangesAtTenThousandthsAndClearingResetsThem) {
  TKeyPointList list;
  TKeyPoint& keypoint = AddAt(list, 0, At(0));
  EXPECT_TRUE(list.AnyChanged());
  list.SetAllChanged(false);
  keypoint.SetValues(At(0.00004f));
  EXPECT_FALSE(list.AnyChanged());
  keypoint.SetValues(At(0.0002f));
  EXPECT_TRUE(keypoint.Changed());
  list.SetAllChanged(false);
  keypoint.SetTime(0.00001);
  EXPECT_FALSE(list.AnyChanged());
  list.LoadProfile(TSpeedGroup::Zoom, u"1;0;0;");
  EXPECT_TRUE(list.AnyChanged());  // a new profile counts as a change
  // Carried values are copied into new keypoints from the current values.
  list.Current().Carried = {1, 2, 3, 4};
  TKeyPoint& second = list.AddKeyPoint(TKeyOrigin::SlideBegin, 10);
  list.ApplyCurrentValues(second);
  EXPECT_EQ(second.Values().Carried, (std::array<uint32_t, 4>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace kiv
