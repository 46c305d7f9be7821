#include "platform/screen_saver_switch.h"

#include <X11/Xlib.h>

#include <mutex>
#include <utility>

#include "platform/termination.h"

namespace kiv {

namespace {

struct TSaverSettings {
  int Timeout = 0, Interval = 0, Blanking = 0, Exposures = 0;
};

// What the screen saver was before this process switched it off; shared with the
// termination cleanup, which may run on the watcher thread. The connection stays open
// while the saver is off: a server whose last client goes resets its settings.
std::mutex SaverLock;
Display* SaverDisplay = nullptr;
TSaverSettings SaverBefore;

void PutBack() {
  const std::lock_guard lock(SaverLock);
  if (!SaverDisplay) return;
  XSetScreenSaver(SaverDisplay, SaverBefore.Timeout, SaverBefore.Interval, SaverBefore.Blanking,
                  SaverBefore.Exposures);
  XSync(SaverDisplay, False);
  XCloseDisplay(std::exchange(SaverDisplay, nullptr));
}

}  // namespace

TScreenSaverSwitch::TScreenSaverSwitch() {
  {
    const std::lock_guard lock(SaverLock);
    if (SaverDisplay) return;
    SaverDisplay = XOpenDisplay(nullptr);
    if (!SaverDisplay) return;
    TSaverSettings& before = SaverBefore;
    XGetScreenSaver(SaverDisplay, &before.Timeout, &before.Interval, &before.Blanking, &before.Exposures);
    XSetScreenSaver(SaverDisplay, 0, before.Interval, before.Blanking, before.Exposures);
    XSync(SaverDisplay, False);
    FSwitchedOff = true;
  }
  static const bool registered = [] {
    OnTermination(PutBack);
    return true;
  }();
  (void)registered;
}

TScreenSaverSwitch::~TScreenSaverSwitch() {
  if (FSwitchedOff) PutBack();
}

}  // namespace kiv
