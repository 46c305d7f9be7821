// Which slides of the engine's list are on screen at a time, around a change.
#include "engine/shown_slides.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace kiv {
namespace {

class TTimedSlide : public IKivSlideEntry {
 public:
  explicit TTimedSlide(TSlideInfo timing) : FTiming(timing) {}
  const TSlideInfo& Timing() const override { return FTiming; }
  THitResult Pointer(const TKivMouseRecord&, double, bool) override { return {}; }
  void ReleaseDeviceObjects() override {}

 private:
  TSlideInfo FTiming;
};

// Start, end, transition in; the slide leaves the screen when the next change is over.
std::shared_ptr<IKivSlideEntry> Slide(double start, double end, double in, double out) {
  return std::make_shared<TTimedSlide>(TSlideInfo{start, end, in, out, end + out, {}});
}

std::string Shown(const TSlideList& slides, double time) {
  const std::optional<TShownSlides> shown = ShownSlidesAt(slides, time);
  if (!shown) return "none";
  return std::to_string(shown->Outgoing) + "-" + std::to_string(shown->Current);
}

TEST(ShownSlides, TheSlideBeforeStaysOnlyWhileTheChangeIntoTheNewestRuns) {
  // 1000 … 4000, then a change of 500 ms into 4000 … 8000, then a cut to 8000 … 9000.
  const TSlideList slides{Slide(1000, 4000, 0, 500), Slide(4000, 8000, 500, 0), Slide(8000, 9000, 0, 0)};
  EXPECT_EQ(Shown(slides, 999), "none");
  EXPECT_EQ(Shown(slides, 1000), "0-0");
  EXPECT_EQ(Shown(slides, 3999), "0-0");
  EXPECT_EQ(Shown(slides, 4000), "0-1");
  EXPECT_EQ(Shown(slides, 4500), "0-1");
  EXPECT_EQ(Shown(slides, 4501), "1-1");
  EXPECT_EQ(Shown(slides, 8000), "2-2");
  EXPECT_EQ(Shown(slides, 20000), "2-2");  // the newest stays when nothing follows yet
  EXPECT_EQ(Shown({}, 0), "none");

  // A list that starts with the incoming slide has nothing to change from.
  EXPECT_EQ(Shown({slides[1], slides[2]}, 4200), "0-0");
}

}  // namespace
}  // namespace kiv
