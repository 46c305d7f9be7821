// The show's window on SDL's offscreen driver: its draw device follows where it is
// placed and how it is resized, and the drawing controller hears of uncovering,
// resizing and the focus.
#include "app/sdl_show_window.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "engine/drawing_controller.h"
#include "render/device/device_test_support.h"
#include "render/device/sdl_window.h"

namespace kiv {
namespace {

SDL_Event WindowEvent(SDL_Window* window, uint8_t what) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = SDL_GetWindowID(window);
  event.window.event = what;
  return event;
}

TEST(SdlShowWindow, ItsDeviceFollowsTheWindowAndItsControllerHearsWhatHappensToIt) {
  T3DEngineGL& engine = testing::TestEngine();
  TSdlShowWindow window(u"show", [] {});
  TDrawingController controller(engine, window.Device());
  window.SetDrawing(&controller);
  controller.GetState();  // nothing pending from before

  window.Place({{100, 50, 500, 350}, {400, 300}, kNoFrame, false});
  EXPECT_EQ(window.Device().Rect(), (TRect{100, 50, 500, 350}));
  EXPECT_TRUE(window.Device().FullScreen());
  window.Place({{10, 20, 330, 260}, {320, 240}, kFixedFrame, true});
  EXPECT_FALSE(window.Device().FullScreen());
  EXPECT_EQ(window.Device().Rect().Width(), 320);

  SDL_Window* sdl = SdlWindowOf(window.Device().Window());
  SDL_SetWindowSize(sdl, 200, 100);
  window.TakeEvent(WindowEvent(sdl, SDL_WINDOWEVENT_SIZE_CHANGED));
  EXPECT_EQ(controller.DeviceSize(), (TPixelSize{200, 100}));
  EXPECT_TRUE(controller.GetState() & kDeviceRefreshed);

  window.TakeEvent(WindowEvent(sdl, SDL_WINDOWEVENT_FOCUS_LOST));
  EXPECT_EQ(controller.GetState() & (kWindowActive | kDeviceRefreshed), 0u);
  window.TakeEvent(WindowEvent(sdl, SDL_WINDOWEVENT_EXPOSED));
  window.TakeEvent(WindowEvent(sdl, SDL_WINDOWEVENT_FOCUS_GAINED));
  EXPECT_EQ(controller.GetState() & (kWindowActive | kDeviceRefreshed), uint32_t(kWindowActive | kDeviceRefreshed));

  // Events of other windows are not its own.
  SDL_Event other = WindowEvent(sdl, SDL_WINDOWEVENT_FOCUS_LOST);
  ++other.window.windowID;
  window.TakeEvent(other);
  EXPECT_TRUE(controller.GetState() & kWindowActive);
}

}  // namespace
}  // namespace kiv
