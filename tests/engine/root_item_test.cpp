// The frame's composition order: sharpening pass, slides or their transition, borders,
// overlay; and a failing slide that leaves the rest of the frame intact.
#include "engine/root_item.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "render/drawer/device_drawer.h"
#include "render/drawer/kiv_filter.h"

namespace kiv {
namespace {

// A drawer that writes down what it is asked to do. The target is 100 x 80 with a slide
// area of 60 x 80 in its middle, so borders are bars on the left and the right.
class TRecordingDrawer : public TDeviceDrawer {
 public:
  TRecordingDrawer() {
    SetTargetRect({0, 0, 100, 80});
    SetContentSize(60, 80);
  }
  bool IsReady() const override { return true; }
  void DrawImage(const TImageDraw&) override {}
  void FreeImageStore(std::unique_ptr<TImageStore>&) override {}
  void DrawBox(const TQuadPlace&, const TBoxParams&) override {}
  void DrawFrame(const TQuadPlace&, const TFrameParams&) override {}
  void DrawMaskedGroup(TDrawItem&, std::span<const TImageDraw>, const TBitmapStore*) override {}
  void FillRect(uint32_t colour, const TRect& rect) override {
    Steps.push_back("fill " + std::to_string(colour) + " " + std::to_string(rect.Left) + ".." + std::to_string(rect.Right));
  }
  void BeginPostProcess() override { Steps.push_back("begin sharpening"); }
  void EndPostProcess(uint8_t threshold, float amount) override {
    Steps.push_back("end sharpening " + std::to_string(threshold) + " " + std::to_string(int(amount)));
  }

  std::vector<std::string> Steps;
};

class TNamedItem : public TDrawItem {
 public:
  explicit TNamedItem(std::string name, bool fails = false) : FName(std::move(name)), FFails(fails) {}
  void Draw(TDeviceDrawer& drawer) override {
    if (FFails) throw std::runtime_error("broken " + FName);
    static_cast<TRecordingDrawer&>(drawer).Steps.push_back(FName);
  }

 private:
  std::string FName;
  bool FFails;
};

using TSteps = std::vector<std::string>;

TEST(RootItem, SharpeningWrapsTheSlidesAndTheOverlayComesAfterTheBorders) {
  TNamedItem a("a"), b("b"), overlay("overlay");
  TRootItem root;
  root.SetFrame({{&a, &b}, &overlay});
  root.SetStyle({0x112233, 150, 20});
  TRecordingDrawer drawer;
  drawer.Draw(root);
  EXPECT_EQ(drawer.Steps, (TSteps{"begin sharpening", "a", "b", "end sharpening 20 150", "fill 4279312947 0..19",
                                  "fill 4279312947 81..100", "overlay"}));

  // Without sharpening and without borders only the items are drawn.
  TRootItem plain(false);
  plain.SetFrame({{&a}, nullptr});
  TRecordingDrawer second;
  second.Draw(plain);
  EXPECT_EQ(second.Steps, (TSteps{"a"}));
}

TEST(RootItem, APairWithAFilterIsDrawnAsItsTransitionAndTheRestPlainly) {
  TNamedItem a("a"), b("b"), c("c"), overlay("overlay");
  TKivFilter filter(1, 1, {}, 500);
  filter.SetTime(600);  // the change is over: the incoming slide alone
  TRootItem root(false);
  root.SetFrame({{&a, &b, &c}, &overlay, &filter, false});
  TRecordingDrawer drawer;
  drawer.Draw(root);
  EXPECT_EQ(drawer.Steps, (TSteps{"b", "c", "overlay"}));

  // The change has not begun: the current slide alone.
  root.SetFrame({{&a, &b}, &overlay, &filter, true});
  TRecordingDrawer outgoing;
  outgoing.Draw(root);
  EXPECT_EQ(outgoing.Steps, (TSteps{"a", "overlay"}));
}

TEST(RootItem, FailingSlideStillEndsThePassAndLetsTheOverlayDraw) {
  TNamedItem broken("broken", true), b("b"), overlay("overlay");
  TRootItem root(false);
  root.SetFrame({{&broken, &b}, &overlay});
  root.SetStyle({0, 100, 0});
  TRecordingDrawer drawer;
  EXPECT_NO_THROW(drawer.Draw(root));
  EXPECT_EQ(drawer.Steps, (TSteps{"begin sharpening", "end sharpening 0 100", "overlay"}));
}

}  // namespace
}  // namespace kiv
