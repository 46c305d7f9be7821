// Objects under a screen point: the ray from the camera through the point meets each
// object's plane, through rotations, nesting and depth.
#include <gtest/gtest.h>

#include "model/hit_test.h"
#include "model/slide_test_support.h"

namespace kiv {
namespace {

std::string Box(std::string_view name, std::string_view extra, std::string_view keypoint = "") {
  std::string text = "object " + std::string(name) + ": box\n  Size=400,300\n" + std::string(extra);
  if (!keypoint.empty()) text += "  object K: keypoint\n" + std::string(keypoint) + "  end\n";
  return text + "end\n";
}

std::u16string NameAt(TTestSlide& show, float x, float y, const TObjectFilter& filter = nullptr) {
  const TKivObject* found = show.Slide.FindAt(x, y, filter);
  return found ? found->Name() : u"-";
}

TEST(ObjectHitTest, RotatedObjectsAreHitWhereTheyShow) {
  TTestSlide show("[Slide1]\n" + Box("Turned", "", "    Angle=90\n"));
  show.AdvanceTo(0);
  const TKivObject& turned = show.Child(0);
  // Upright it would cover 0 … 800 × 0 … 600; turned it covers 100 … 700 × −100 … 700.
  EXPECT_TRUE(turned.HitTest(650, 300));
  EXPECT_TRUE(turned.HitTest(400, 650));
  EXPECT_FALSE(turned.HitTest(750, 300));
  EXPECT_FALSE(turned.HitTest(50, 50));
  EXPECT_EQ(NameAt(show, 750, 300), u"");  // the slide itself (its name is empty)
  EXPECT_EQ(NameAt(show, 900, 300), u"-");
}

TEST(ObjectHitTest, DeepestAndLastDrawnComeFirst) {
  TTestSlide show("[Slide1]\n" +
                  Box("Under", "") +
                  Box("Parent", "  object Nested: box\n    Size=100,100\n    FitMode=None\n    PosMode=Absolute\n"
                                "    object K: keypoint\n      Position=100,0\n    end\n  end\n",
                      "    Angle=90\n"));
  show.AdvanceTo(0);
  EXPECT_EQ(NameAt(show, 400, 580), u"Nested");  // below the parent's pivot, turned
  EXPECT_EQ(NameAt(show, 400, 380), u"Parent");  // the sibling drawn later wins
  EXPECT_EQ(NameAt(show, 50, 300), u"Under");    // only the first sibling is there
  EXPECT_EQ(show.Slide.ObjectAt(400, 380, false), &show.Slide);
  EXPECT_EQ(show.Slide.ObjectAt(400, 380, true)->Name(), u"Parent");
}

TEST(ObjectHitTest, FiltersHiddenAndInactiveObjectsAreSkipped) {
  TTestSlide show("[Slide1]\n" + Box("Back", "") + Box("Glass", "  TranspForClick=1\n") +
                  Box("Later", "  DeltaTime1=5000\n"));
  show.AdvanceTo(0);
  EXPECT_EQ(NameAt(show, 400, 300), u"Glass");  // "Later" is not in its window yet
  const TObjectFilter clickable = [](const TKivObject& o) { return !o.TranspForClick(); };
  EXPECT_EQ(NameAt(show, 400, 300, clickable), u"Back");
  show.Host.SetHitFilter([](const TKivObject& o) { return o.Name() != u"Back"; });
  EXPECT_EQ(NameAt(show, 400, 300, clickable), u"");
  show.AdvanceTo(6000);
  EXPECT_EQ(NameAt(show, 400, 300), u"Later");
}

TEST(ObjectHitTest, DepthShrinksWhatIsSeenAndDegenerateCasesMissQuietly) {
  TTestSlide show("[Slide1]\n" + Box("Far", "", "    ZPos=200\n") + Box("Edge", "", "    AngleY=90\n") +
                  "object Empty: box\nend\n");
  show.AdvanceTo(0);
  // z = 200 % of half the height = 600, halved by the depth scale: 300 behind the screen,
  // so the right edge (x = 800) shows at 400 + 400 × 600 / 900.
  const TKivObject& far = show.Child(0);
  EXPECT_NEAR(far.Frame().Origin.Z, 300, 1e-3);
  EXPECT_TRUE(far.HitTest(660, 300));
  EXPECT_FALSE(far.HitTest(670, 300));
  // Seen edge-on, or without size: never hit, no failure.
  EXPECT_FALSE(show.Child(1).HitTest(400, 300));
  EXPECT_FALSE(show.Child(1).HitTest(410, 300));
  EXPECT_FALSE(show.Child(2).Frame().Invertible);
  EXPECT_FALSE(show.Child(2).HitTest(400, 300));
  // Without a camera nothing is hit; a camera in the screen plane sees nothing either.
  show.Host.SetCameraQuery(nullptr);
  EXPECT_FALSE(far.HitTest(400, 300));
  EXPECT_FALSE(ScreenPointOnPlane(far.Frame(), {400, 300, 0}, 400, 300));
}

}  // namespace
}  // namespace kiv
