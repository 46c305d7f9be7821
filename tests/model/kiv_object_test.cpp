#include "model/kiv_object.h"

#include <gtest/gtest.h>

#include <numbers>

#include "model/slide_test_support.h"

namespace kiv {
namespace {

constexpr std::string_view kOneBox =
    "[Slide1]\n"
    "object Pic: Box\n"
    "  GUID=A\n"
    "  Size=400,300\n"
    "end\n";

void ExpectVec(const TVector3& actual, const TVector3& expected) {
  EXPECT_NEAR(actual.X, expected.X, 1e-3);
  EXPECT_NEAR(actual.Y, expected.Y, 1e-3);
  EXPECT_NEAR(actual.Z, expected.Z, 1e-3);
}

TEST(ObjectReading, CommonKeysTakeTheirValuesOrDefaults) {
  TTestSlide show(
      "[Slide1]\n"
      "object First: BOX\n"
      "  GUID={1}\n"
      "  FitMode=cover\n"
      "  PosMode=Absolute\n"
      "  CenterMode=Absolute\n"
      "  DeltaTime1=500\n"
      "  DeltaTime2=250.5\n"
      "  TranspForClick=1\n"
      "  TreeNode=0\n"
      "  ShadowEnable=1\n"
      "  ShadowColor=10,20,30\n"
      "  ShadowAngle=30\n"
      "  3DShadow=1\n"
      "  HideMode=3\n"
      "  ChildInvis=1\n"
      "  Action=GoTo 3\n"
      "end\n"
      "object Second: box\n"
      "  FitMode=Stretch\n"
      "  PosMode=percent\n"
      "  DeltaTime1=abc\n"
      "  DeltaTime2=1e300\n"
      "  ShadowSize=1e300\n"
      "  HideMode=9\n"
      "end\n"
      "object Ghost: hologram\n"
      "end\n");
  ASSERT_EQ(show.Slide.Children().size(), 2u);  // no factory knows "hologram"
  const TKivObject& first = show.Child(0);
  EXPECT_EQ(first.Name(), u"First");
  EXPECT_EQ(first.Kind(), u"box");
  EXPECT_EQ(first.Guid(), u"{1}");
  EXPECT_EQ(first.FitMode(), TFitMode::Cover);
  EXPECT_EQ(first.PosMode(), TPositionMode::Absolute);
  EXPECT_EQ(first.CenterMode(), TPositionMode::Absolute);
  EXPECT_DOUBLE_EQ(first.DeltaTime1(), 500);
  EXPECT_DOUBLE_EQ(first.DeltaTime2(), 250.5);
  EXPECT_TRUE(first.TranspForClick());
  EXPECT_FALSE(first.TreeNode());
  EXPECT_TRUE(first.Shadow().Enabled);
  EXPECT_EQ(first.Shadow().Color, MakeColor(10, 20, 30));
  EXPECT_FLOAT_EQ(first.Shadow().Angle, 30);
  EXPECT_TRUE(first.Shadow().Follows3D);
  EXPECT_TRUE(first.ChildInvis());
  EXPECT_EQ(first.Action(), u"GoTo 3");

  const TKivObject& second = show.Child(1);
  EXPECT_FALSE(second.Guid().empty());  // made up when the project has none
  EXPECT_NE(second.Guid(), first.Guid());
  EXPECT_EQ(second.FitMode(), TFitMode::PlaceInto);
  EXPECT_EQ(second.PosMode(), TPositionMode::Percent);  // exact names only
  EXPECT_EQ(second.CenterMode(), TPositionMode::Percent);
  EXPECT_DOUBLE_EQ(second.DeltaTime1(), 0);
  EXPECT_DOUBLE_EQ(second.DeltaTime2(), 0);
  EXPECT_FALSE(second.TranspForClick());
  EXPECT_TRUE(second.TreeNode());
  EXPECT_FALSE(second.Shadow().Enabled);
  EXPECT_FLOAT_EQ(second.Shadow().Size, 16);
  EXPECT_FLOAT_EQ(second.Shadow().Opacity, 59);
  EXPECT_FLOAT_EQ(second.Shadow().Distance, 1.5f);
  EXPECT_FLOAT_EQ(second.Shadow().Angle, 45);
}

TEST(ObjectReading, KeyPointsChildrenAndProfilesAreReadInOrder) {
  TTestSlide show(
      "[Slide1]\n"
      "object Outer: group\n"
      "  PanSpeed=2;0;4000;1;0;1;0.25;0.75;\n"
      "  ZoomSpeed=garbage\n"
      "  object K2: keypoint\n"
      "    Time=4000\n"
      "    Position=100,0\n"
      "  end\n"
      "  object Inner: box\n"
      "    Size=10,10\n"
      "    object K: Keypoint\n"
      "      Opacity=25\n"
      "    end\n"
      "  end\n"
      "  object K1: KEYPOINT\n"
      "    Time=0\n"
      "  end\n"
      "end\n");
  TKivObject& outer = show.Child(0);
  ASSERT_EQ(outer.KeyPoints().Count(), 2);
  ASSERT_EQ(outer.Children().size(), 1u);
  EXPECT_EQ(outer.Children()[0]->KeyPoints().Count(), 1);
  EXPECT_EQ(outer.KeyPoints().PanSpeed().Intervals().size(), 1u);
  EXPECT_EQ(outer.KeyPoints().ZoomSpeed().Keys(), (std::vector<int32_t>{0, 4000}));  // linear again
  show.AdvanceTo(500);
  EXPECT_NEAR(outer.Current().Position.X, 4.1667, 1e-3);
  EXPECT_FLOAT_EQ(outer.Children()[0]->Current().Opacity, 25);
}

TEST(ObjectReading, DeepNestingStopsAtTheDepthLimit) {
  std::string text = "[Slide1]\n";
  const int levels = TKivObject::kMaxDepth + 20;
  for (int i = 0; i < levels; ++i) text += "object G: group\n";
  for (int i = 0; i < levels; ++i) text += "end\n";
  TTestSlide show(text);
  const TKivObject* deepest = &show.Slide;
  while (!deepest->Children().empty()) deepest = deepest->Children()[0].get();
  EXPECT_EQ(deepest->Depth(), TKivObject::kMaxDepth);
}

TEST(ObjectReload, ChildrenAreReusedByGuidAndKindTheRestIsFreed) {
  TTestSlide show(
      "[Slide1]\n"
      "object A: box\n"
      "  GUID=A\n"
      "  Size=10,10\n"
      "  object K: keypoint\n"
      "    Opacity=10\n"
      "  end\n"
      "  object Inner: box\n"
      "    GUID=I\n"
      "  end\n"
      "end\n"
      "object B: box\n"
      "  GUID=B\n"
      "end\n"
      "object C: box\n"
      "  GUID=C\n"
      "end\n");
  const TKivObject* a = &show.Child(0);
  const TKivObject* inner = a->Children()[0].get();
  const TKivObject* c = &show.Child(2);

  show.Project = ParseProject(
      "[Slide1]\n"
      "object C2: box\n"
      "  GUID=C\n"
      "end\n"
      "object A2: box\n"
      "  GUID=A\n"
      "  Size=20,10\n"
      "  object K: keypoint\n"
      "    Opacity=70\n"
      "  end\n"
      "  object Inner: box\n"
      "    GUID=I\n"
      "  end\n"
      "end\n"
      "object B: group\n"
      "  GUID=B\n"
      "end\n"
      "object Twin: box\n"
      "  GUID=A\n"
      "end\n");
  show.Reload();
  ASSERT_EQ(show.Slide.Children().size(), 4u);
  EXPECT_EQ(&show.Child(0), c);
  EXPECT_EQ(show.Child(0).Name(), u"C2");
  EXPECT_EQ(&show.Child(1), a);
  EXPECT_EQ(show.Child(1).Children()[0].get(), inner);
  EXPECT_EQ(show.Child(1).Size(), (TSizeF{20, 10}));
  ASSERT_EQ(show.Child(1).KeyPoints().Count(), 1);  // the old keypoint is gone
  EXPECT_FLOAT_EQ(show.Child(1).KeyPoints()[0].Values().Opacity, 70);
  EXPECT_EQ(show.Child(2).Kind(), u"group");  // the kind changed: a new object
  EXPECT_EQ(show.Child(3).Guid(), u"A");      // the GUID was taken already: a new one too
  EXPECT_NE(&show.Child(3), a);
}

TEST(ObjectPlacement, FitFactorPositionAndRotation) {
  TTestSlide show(kOneBox);
  TKivObject& box = show.Child(0);
  show.AdvanceTo(0);
  // 400 × 300 in 800 × 600 with "PlaceInto": k = 2, pivot at the slide's centre.
  ExpectVec(box.Frame().AxisX, {2, 0, 0});
  ExpectVec(box.Frame().AxisY, {0, 2, 0});
  ExpectVec(box.Frame().AxisZ, {0, 0, 1});  // z scaled by the depth scale 0.5
  ExpectVec(box.Frame().Origin, {400, 300, 0});
  EXPECT_EQ(box.CentreOffset(), (TPointF{-200, -150}));
  EXPECT_DOUBLE_EQ(show.Slide.DepthScale(), 0.5);

  EXPECT_NEAR(FitFactor(TFitMode::PlaceInto, {400, 300}, {800, 800}), 2, 1e-9);
  EXPECT_NEAR(FitFactor(TFitMode::Cover, {400, 300}, {800, 800}), 2.6667, 1e-4);
  EXPECT_EQ(FitFactor(TFitMode::None, {400, 300}, {800, 800}), 1);
  EXPECT_EQ(FitFactor(TFitMode::PlaceInto, {0, 300}, {800, 800}), 0);

  // Position 100,0 in percent: the middle of the right edge; rotation by 90°.
  show.Project = ParseProject(
      "[Slide1]\n"
      "object Pic: box\n"
      "  GUID=A\n"
      "  Size=400,300\n"
      "  object K: keypoint\n"
      "    Position=100,0\n"
      "    Angle=90\n"
      "    ScaleX=50\n"
      "  end\n"
      "end\n");
  show.Reload();
  show.AdvanceTo(0);
  ExpectVec(box.Frame().Origin, {800, 300, 0});
  ExpectVec(box.Frame().AxisX, {0, 1, 0});
  ExpectVec(box.Frame().AxisY, {-2, 0, 0});
}

TEST(ObjectPlacement, NaturalSizeAndPixelCentresInAbsoluteModes) {
  TTestSlide show(
      "[Slide1]\n"
      "object Pic: box\n"
      "  Size=400,300\n"
      "  FitMode=None\n"
      "  PosMode=Absolute\n"
      "  CenterMode=Absolute\n"
      "  object K: keypoint\n"
      "    Position=-100,50\n"
      "    CenterPos=-200,-150\n"
      "  end\n"
      "end\n"
      "object Percent: box\n"
      "  Size=400,300\n"
      "  object K: keypoint\n"
      "    CenterPos=-100,100\n"
      "  end\n"
      "end\n");
  show.AdvanceTo(0);
  const TKivObject& absolute = show.Child(0);
  ExpectVec(absolute.Frame().AxisX, {1, 0, 0});
  ExpectVec(absolute.Frame().Origin, {300, 350, 0});
  EXPECT_EQ(absolute.CentreOffset(), (TPointF{0, 0}));  // pivot at the top-left corner
  EXPECT_EQ(show.Child(1).CentreOffset(), (TPointF{0, -300}));
}

TEST(ObjectPlacement, ChildOfARotatedParentTurnsWithItAndScalesWithIt) {
  TTestSlide show(
      "[Slide1]\n"
      "object Parent: box\n"
      "  Size=400,300\n"
      "  object K: keypoint\n"
      "    Angle=90\n"
      "  end\n"
      "  object Child: box\n"
      "    Size=100,100\n"
      "    FitMode=None\n"
      "    PosMode=Absolute\n"
      "    object K: keypoint\n"
      "      Position=100,0\n"
      "    end\n"
      "  end\n"
      "end\n");
  show.AdvanceTo(0);
  const TKivObject& child = *show.Child(0).Children()[0];
  // Along the parent's x axis, which points down at twice the scale.
  ExpectVec(child.Frame().Origin, {400, 500, 0});
  ExpectVec(child.Frame().AxisX, {0, 2, 0});
  ExpectVec(child.Frame().AxisY, {-2, 0, 0});
}

TEST(ObjectVisibility, HideModeHidesBySideOfThePlaneAndChildInvisTakesTheChildren) {
  struct TCase {
    int HideMode;
    float AngleY;
    bool Hidden;
  };
  // Facing the viewer the camera is on the negative side; turned around, on the positive.
  const TCase cases[] = {{0, 0, false},   {1, 0, false},  {2, 0, true},  {3, 0, true},
                         {0, 180, false}, {1, 180, true}, {2, 180, false}, {3, 180, true}};
  for (const TCase& c : cases) {
    TTestSlide show(
        "[Slide1]\n"
        "object Card: box\n"
        "  Size=400,300\n"
        "  HideMode=" + std::to_string(c.HideMode) + "\n"
        "  object K: keypoint\n"
        "    AngleY=" + std::to_string(c.AngleY) + "\n"
        "  end\n"
        "  object Child: box\n"
        "    Size=10,10\n"
        "  end\n"
        "end\n");
    show.AdvanceTo(0);
    const TKivObject& card = show.Child(0);
    EXPECT_EQ(card.HiddenByFacing(), c.Hidden) << c.HideMode << " " << c.AngleY;
    EXPECT_EQ(card.Visible(), !c.Hidden);
    EXPECT_TRUE(card.Children()[0]->Visible());  // without ChildInvis the children show
  }
  TTestSlide show(
      "[Slide1]\n"
      "object Card: box\n"
      "  Size=400,300\n"
      "  HideMode=2\n"
      "  ChildInvis=1\n"
      "  object Child: box\n"
      "    Size=10,10\n"
      "    object Grandchild: box\n"
      "      Size=10,10\n"
      "    end\n"
      "  end\n"
      "end\n");
  show.AdvanceTo(0);
  const TKivObject& child = *show.Child(0).Children()[0];
  EXPECT_TRUE(show.Child(0).HiddenWithChildren());
  EXPECT_FALSE(child.Visible());
  EXPECT_FALSE(child.Children()[0]->Visible());
}

TEST(ObjectVisibility, TimeWindowFollowsDeltaTimes) {
  TTestSlide show(
      "[Slide1]\n"
      "object Late: box\n"
      "  Size=10,10\n"
      "  DeltaTime1=500\n"
      "  DeltaTime2=1000\n"
      "end\n",
      {2000, 6000, 500, 1000, 7000, {}});
  TKivObject& late = show.Child(0);
  const std::pair<double, bool> expected[] = {{1999, false}, {2000, false}, {2499, false}, {2500, true},
                                              {6000, true},  {6001, false}, {7000, false}};
  for (const auto& [time, active] : expected) {
    show.AdvanceTo(time);
    EXPECT_EQ(late.Active(), active) << time;
  }
  EXPECT_TRUE(late.PlacementChanged());  // the window closed
  show.Slide.Snapshot(true);
  show.AdvanceTo(7500);
  EXPECT_FALSE(late.PlacementChanged());
}

TEST(ObjectOpacity, OwnOpacityOnlyAndChangesAreTracked) {
  TTestSlide show(
      "[Slide1]\n"
      "object Parent: box\n"
      "  Size=10,10\n"
      "  object K1: keypoint\n"
      "    Time=1000\n"
      "    Opacity=0\n"
      "  end\n"
      "  object K2: keypoint\n"
      "    Time=3000\n"
      "    Opacity=100\n"
      "  end\n"
      "  object Child: box\n"
      "    Size=10,10\n"
      "    object K: keypoint\n"
      "      Opacity=80\n"
      "    end\n"
      "  end\n"
      "end\n");
  TKivObject& parent = show.Child(0);
  const TKivObject& child = *parent.Children()[0];
  show.AdvanceTo(2000);
  EXPECT_FLOAT_EQ(parent.EffectiveOpacity(), 50);
  EXPECT_FLOAT_EQ(child.EffectiveOpacity(), 80);
  EXPECT_TRUE(show.Slide.NeedsRedraw());
  EXPECT_TRUE(show.Slide.KeyPointsChanged());
  show.Slide.Snapshot(true);
  EXPECT_FALSE(show.Slide.NeedsRedraw());
  EXPECT_FALSE(show.Slide.KeyPointsChanged());
  show.AdvanceTo(2000);
  EXPECT_FALSE(show.Slide.NeedsRedraw());
  show.AdvanceTo(2500);  // only the opacity moves
  EXPECT_TRUE(parent.PlacementChanged());
  EXPECT_FALSE(child.PlacementChanged());
  EXPECT_TRUE(show.Slide.NeedsRedraw());
}

TEST(ObjectAdvance, SlideSkipsTheSameTimeWhenNothingChanged) {
  TTestSlide show(kOneBox);
  TKivObject& box = show.Child(0);
  show.AdvanceTo(100);
  show.Slide.Snapshot(true);
  box.SetSize({100, 100});  // changed without a new time: placed again
  show.AdvanceTo(100);
  ExpectVec(box.Frame().AxisX, {6, 0, 0});
  show.Slide.Snapshot(true);
  show.AdvanceTo(100);  // nothing changed: skipped
  EXPECT_FALSE(show.Slide.NeedsRedraw());
  TKeyValues half;
  half.ScaleX = 50;
  box.KeyPoints().AddKeyPoint(TKeyOrigin::SlideBegin, 0).SetValues(half);
  show.AdvanceTo(100);  // a new keypoint counts as a change
  ExpectVec(box.Frame().AxisX, {3, 0, 0});
  EXPECT_TRUE(show.Slide.NeedsRedraw());
}

}  // namespace
}  // namespace kiv
