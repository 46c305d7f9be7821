// The pointer over a slide: looks of texts and buttons with actions, and actions that
// run when the left button is released over the object it was pressed on.
#include "model/slide_pointer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/kiv_button.h"
#include "model/kiv_text.h"
#include "model/slide_test_support.h"

namespace kiv {
namespace {

// Side by side, 200 pixels wide each: a text that goes on (x 100 … 300), a button that
// goes to slide 2 (x 300 … 500) and a box that exits (x 500 … 700); y 250 … 350.
std::string Placed(std::string_view name, std::string_view kind, int x, std::string_view keys) {
  return "object " + std::string(name) + ": " + std::string(kind) +
         "\n  Size=200,100\n  BlackBoxSize=200,100\n  FitMode=None\n  PosMode=Absolute\n" + std::string(keys) +
         "  object K: keypoint\n    Position=" + std::to_string(x) + ",0\n  end\nend\n";
}

const std::string kSlide = "[Slide1]\n" +
                           Placed("Link", "text", -200, "  Action=NextSlide\n  TextColor=0,0,0\n"
                                                        "  TextColorHover=0,0,255\n  TextColorClick=255,0,0\n") +
                           Placed("Go", "button", 0, "  Action=gotoslide(2)\n") + Placed("Plain", "box", 200, "  Action=exit\n");

TObjectFactoryChain Kinds() {
  TObjectFactoryChain kinds = TestKinds();
  kinds.AddKind<TKivText>({u"text"});
  kinds.AddKind<TKivButton>({u"button"});
  return kinds;
}

constexpr float kLink = 200, kGo = 400, kPlain = 600, kNowhere = 50;

TSlidePointer Move(float x, uint32_t state = 0) { return {TPointerKind::Move, 0, x, 300, state, true}; }
TSlidePointer Press(float x, int32_t button = 1) {
  return {TPointerKind::Press, button, x, 300, button == 1 ? kPointerLeftButton : 32u, true};
}
TSlidePointer Release(float x, int32_t button = 1, bool enabled = true) {
  return {TPointerKind::Release, button, x, 300, 0, enabled};
}

struct TCase {
  const char* Name;
  std::vector<TSlidePointer> Events;
  TButtonState LinkLook;
  TButtonState GoLook;
  uint8_t Reported;  // by the last event
};

TEST(SlidePointer, LooksFollowThePointerAndActionsRunOnReleaseOverThePressedObject) {
  using enum TButtonState;
  const TCase cases[] = {
      {"over the text", {Move(kLink)}, Hover, Normal, kActionNone},
      {"dragging over the text", {Move(kLink, kPointerLeftButton)}, Click, Normal, kActionNone},
      {"with Shift held", {Move(kLink, 2)}, Normal, Normal, kActionNone},
      {"from the text to the button", {Move(kLink), Move(kGo)}, Normal, Hover, kActionNone},
      {"pressing the button", {Move(kGo), Press(kGo)}, Normal, Click, kActionNone},
      {"clicking the button", {Press(kGo), Release(kGo)}, Normal, Hover, kActionGoToSlide},
      {"clicking the text", {Press(kLink), Release(kLink)}, Hover, Normal, kActionNextSlide},
      {"clicking a plain object", {Press(kPlain), Release(kPlain)}, Normal, Normal, kActionExit},
      {"pressed on the button, released beside it", {Press(kGo), Release(kNowhere)}, Normal, Normal, kActionNone},
      {"... and released over it later", {Press(kGo), Release(kNowhere), Release(kGo)}, Normal, Hover, kActionNone},
      {"pressed on the text, released on the button", {Press(kLink), Release(kGo)}, Normal, Hover, kActionNone},
      {"the right button", {Press(kGo, 2), Release(kGo, 2)}, Normal, Normal, kActionNone},
      {"released while something above has the pointer", {Press(kGo), Release(kGo, 1, false)}, Normal, Normal,
       kActionNone},
      {"left the window", {Move(kGo), Move(0, 0), {TPointerKind::Move, 0, 0, 2147483647.0f, 0, true}}, Normal,
       Normal, kActionNone},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTestSlide show(kSlide, {0, 10000, 0, 0, 10000, {}}, Kinds());
    show.Child(1).SetSize({200, 100});  // a button takes its size from its skin, which is not loaded here
    show.AdvanceTo(0);
    TSlidePointerResult result;
    for (const TSlidePointer& event : c.Events) result = PointerOnSlide(show.Slide, event);
    EXPECT_EQ(dynamic_cast<TKivText&>(show.Child(0)).Look(), c.LinkLook);
    EXPECT_EQ(dynamic_cast<TKivButton&>(show.Child(1)).Look(), c.GoLook);
    EXPECT_EQ(result.Reported.Type, c.Reported);
  }
}

TEST(SlidePointer, TextsShowTheirLookColoursAndReportWhatIsUnderThePointer) {
  TTestSlide show(kSlide, {0, 10000, 0, 0, 10000, {}}, Kinds());
  show.AdvanceTo(0);
  auto& link = dynamic_cast<TKivText&>(show.Child(0));
  const TSlidePointerResult over = PointerOnSlide(show.Slide, Move(kLink));
  EXPECT_EQ(over.Object, &link);
  EXPECT_EQ(over.Action.Type, kActionNextSlide);
  EXPECT_EQ(link.LookColor(), MakeColor(0, 0, 255));
  EXPECT_TRUE(link.ContentChanged());  // a new look is drawn
  PointerOnSlide(show.Slide, Press(kLink));
  EXPECT_EQ(link.LookColor(), MakeColor(255, 0, 0));
  EXPECT_EQ(PointerOnSlide(show.Slide, Release(kLink)).Reported, (TKivActionInfo{kActionNextSlide, 0, {}}));
  EXPECT_EQ(PointerOnSlide(show.Slide, Move(kNowhere)).Object, &show.Slide);  // the slide itself has no action
  EXPECT_EQ(link.LookColor(), MakeColor(0, 0, 0));
}

}  // namespace
}  // namespace kiv
