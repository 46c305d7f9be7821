// The key table and the mouse options of a show, and the pointer watcher, without a
// window: events in, actions and pointer states out.
#include "engine/input_mapping.h"

#include <gtest/gtest.h>

#include <string>

#include "base/clock.h"
#include "engine/engine_test_support.h"
#include "engine/mouse_monitor.h"
#include "support/project_text.h"

namespace kiv {
namespace {

TKivActionInfo KeyAction(const TInputMappingClass& mapping, int key, uint32_t modifiers = 0,
                         uint8_t kind = kKeyDownEvent) {
  const TKeyMap* map = mapping.MapKey(modifiers, key, kind);
  return map ? map->Action : TKivActionInfo{};
}

struct TKeyCase {
  const char* Main;  // more of "[main]"
  int Key;
  uint32_t Modifiers;
  TKivActionInfo Expected;
};

TEST(InputMapping, DefaultKeyTable) {
  const TKivActionInfo none, exit{kActionExit, 0, {}}, pause{kActionPause, 0, {}}, stop{kActionStop, 0, {}},
      prev{kActionPrevSlide, 0, {}}, next{kActionNextSlide, 0, {}}, first{kActionGoToSlide, 0, {}},
      last{kActionGoToSlide, 7, {}}, help{kActionHelp, 0, {}};
  const char* forbidden = "opt_synchpermitcontrol=0\n";
  const TKeyCase cases[] = {
      {"", kKeyEscape, 0, exit},          {forbidden, kKeyEscape, 0, exit},
      {"", kKeySpace, 0, pause},          {"", kKeyPause, 0, pause},
      {"", kKeyMediaPlayPause, 0, pause}, {"", kKeyP, kStateCtrl, pause},
      {"", kKeyP, 0, none},               {"", kKeySpace, kStateShift, none},
      {"", kKeySpace, kStateWindows, pause},  // the Windows key is not told apart
      {"", kKeyMediaStop, 0, stop},
      {"", kKeyLeft, 0, prev},            {"", kKeyPageUp, 0, prev},
      {"", kKeyBrowserBack, 0, prev},     {"", kKeyMediaPrevious, 0, prev},
      {"", kKeyRight, 0, next},           {"", kKeyPageDown, 0, next},
      {"", kKeyBrowserForward, 0, next},  {"", kKeyMediaNext, 0, next},
      {"", kKeyRight, kStateAlt, none},   {"", kKeyHome, 0, first},
      {"", kKeyEnd, 0, last},             {"", kKeyF1, 0, help},
      {"opt_lockf1=1\n", kKeyF1, 0, none}, {forbidden, kKeySpace, 0, none},
      {forbidden, kKeyRight, 0, none},    {forbidden, kKeyEnd, 0, none},
      {forbidden, kKeyF1, 0, help},       {"", 'A', 0, none},
      {"", 300, 0, none},                 {"", -1, 0, none},
      {"opt_ssaver=1\n", 'A', 0, exit},   {"opt_ssaver=1\n", 300, kStateCtrl, exit},
  };
  for (const TKeyCase& c : cases) {
    SCOPED_TRACE(std::string(c.Main) + " key " + std::to_string(c.Key) + " modifiers " + std::to_string(c.Modifiers));
    const TInputMappingClass mapping(*ParseProject(std::string("[main]\nopt_slidescount=7\n") + c.Main));
    EXPECT_EQ(KeyAction(mapping, c.Key, c.Modifiers), c.Expected);
  }
  const TInputMappingClass plain(*ParseProject("[main]\n"));
  EXPECT_EQ(KeyAction(plain, kKeyEscape, 0, kKeyUpEvent), none);
  for (const int key : {kKeyPause, kKeySpace, kKeyPageDown, kKeyRight, kKeyBrowserForward, kKeyMediaNext, kKeyMediaPlayPause})
    EXPECT_TRUE(TInputMappingClass::ReleasesStop(key)) << key;
  for (const int key : {kKeyLeft, kKeyHome, kKeyEscape, kKeyPageUp}) EXPECT_FALSE(TInputMappingClass::ReleasesStop(key)) << key;
}

struct TMouseCase {
  const char* Main;
  TMouseEvent Event;
  int32_t Button;
  uint32_t State;
  TKivActionInfo Expected;
};

TEST(InputMapping, MouseOptions) {
  const TKivActionInfo none, exit{kActionExit, 0, {}}, next{kActionNextSlide, 0, {}}, prev{kActionPrevSlide, 0, {}},
      help{kActionHelp, 0, {}}, pause{kActionPause, 0, {}}, first{kActionGoToSlide, 0, {}};
  const TMouseCase cases[] = {
      {"opt_leftmouse=Next slide\n", TMouseEvent::Press, kLeftButton, kStateLeftButton, next},
      {"opt_leftmouse=Prev. slide\n", TMouseEvent::Press, kLeftButton, kStateLeftButton, prev},
      {"opt_leftmouse=Help\n", TMouseEvent::Press, kLeftButton, kStateLeftButton, help},
      {"opt_leftmouse=Pause\n", TMouseEvent::Press, kLeftButton, kStateLeftButton, pause},
      {"opt_leftmouse=Go to first\n", TMouseEvent::Press, kLeftButton, kStateLeftButton, first},
      {"opt_leftmouse=Exit\n", TMouseEvent::Press, kLeftButton, kStateLeftButton, exit},
      {"opt_leftmouse=next slide\n", TMouseEvent::Press, kLeftButton, kStateLeftButton, none},  // exactly as written
      {"opt_leftmouse=Exit\n", TMouseEvent::Release, kLeftButton, 0, none},
      {"opt_leftmouse=Exit\n", TMouseEvent::DoubleClick, kLeftButton, kStateLeftButton, none},  // not also a press
      {"opt_leftmouse=Exit\nopt_dblclick=Pause\n", TMouseEvent::DoubleClick, kLeftButton, kStateLeftButton, pause},
      {"opt_leftmouse=Exit\nopt_rightmouse=Prev. slide\n", TMouseEvent::Press, kRightButton, kStateRightButton, prev},
      {"opt_leftmouse=Exit\n", TMouseEvent::Press, kMiddleButton, kStateMiddleButton, none},
      {"opt_ssaver=1\n", TMouseEvent::Press, kMiddleButton, kStateMiddleButton, exit},
      {"opt_ssaver=1\n", TMouseEvent::Release, kRightButton, 0, exit},
      {"opt_ssaver=1\n", TMouseEvent::Move, 0, 0, none},
  };
  for (const TMouseCase& c : cases) {
    SCOPED_TRACE(std::string(c.Main) + " event " + std::to_string(int(c.Event)));
    TInputMappingClass mapping(*ParseProject(std::string("[main]\n") + c.Main));
    EXPECT_EQ(mapping.MapMouse(c.State, 10, c.Event, c.Button, 10), c.Expected);
  }
}

TEST(InputMapping, MovesOfMoreThanFivePixelsFromTheFirstPointEndTheShow) {
  for (const char* main : {"opt_exitonmove=1\n", "opt_ssaver=1\n"}) {
    SCOPED_TRACE(main);
    TInputMappingClass mapping(*ParseProject(std::string("[main]\n") + main));
    EXPECT_EQ(mapping.MapMouse(0, 100, TMouseEvent::Move, 0, 100).Type, kActionNone);  // the first point
    EXPECT_EQ(mapping.MapMouse(0, 103, TMouseEvent::Move, 0, 98).Type, kActionNone);   // 5: not more
    EXPECT_EQ(mapping.MapMouse(0, 96, TMouseEvent::Move, 0, 102).Type, kActionExit);   // 6 from the first
  }
  TInputMappingClass still(*ParseProject("[main]\n"));
  still.MapMouse(0, 0, TMouseEvent::Move, 0, 0);
  EXPECT_EQ(still.MapMouse(0, 500, TMouseEvent::Move, 0, 500).Type, kActionNone);
}

class TFakePointer : public IShowPointer {
 public:
  TPointerState Read() const override { return State; }
  void SetShape(TCursorShape) override {}
  TPointerState State{100, 100, true};
};

TEST(MouseMonitor, ThePointerHidesAfterRestingAndShowsAgainWhenMoved) {
  TVirtualClock clock(5000);
  SetClock(&clock);
  TFakePointer pointer;
  TMouseMonitor monitor(pointer);
  int entered = 0, left = 0, changes = 0;
  monitor.OnEnter = [&] { ++entered; };
  monitor.OnLeave = [&] { ++left; };
  monitor.OnHiddenChanged = [&] { ++changes; };
  monitor.SetHideInterval(1000);
  monitor.SetHidden(false);

  monitor.Check();
  EXPECT_EQ(entered, 1);
  EXPECT_TRUE(monitor.TimerRunning());
  clock.Advance(1000);
  monitor.Check();
  EXPECT_FALSE(monitor.Hidden());  // not more than the interval
  clock.Advance(1);
  monitor.Check();
  EXPECT_TRUE(monitor.Hidden());
  EXPECT_EQ(changes, 1);

  // Slow moves, 2 pixels each with the timer running between them: the third is 6
  // pixels from where the pointer hid.
  for (int step = 1; step <= 2; ++step) {
    pointer.State.X += 2;
    monitor.MoveCheck();
    clock.Advance(TMouseMonitor::kCheckInterval);
    monitor.Check();
    EXPECT_TRUE(monitor.Hidden()) << step;
  }
  pointer.State.X += 2;
  monitor.MoveCheck();
  EXPECT_FALSE(monitor.Hidden());
  EXPECT_EQ(changes, 2);

  pointer.State.Inside = false;
  monitor.Check();
  EXPECT_EQ(left, 1);
  EXPECT_FALSE(monitor.TimerRunning());

  // Hidden for good: no interval, moves show nothing.
  monitor.SetHideInterval(0);
  monitor.SetHidden(true);
  pointer.State.X += 100;
  monitor.MoveCheck();
  monitor.Check();
  EXPECT_TRUE(monitor.Hidden());
  SetClock(nullptr);
}

}  // namespace
}  // namespace kiv
