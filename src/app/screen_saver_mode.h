#pragma once
// The player as a screen saver. A program whose name ends in ".scr" (any case) is one;
// so is any player started with "/s", "/S" or "/p". "/s" and "/S" run the show full
// screen until the user's first key, click or move; "/p" asks for a preview inside a
// window of the desktop's settings, which this system does not hand over; a ".scr"
// program called without any of them (a settings request) does nothing. Only one
// screen saver show per program runs at a time.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/command_line.h"

namespace kiv {

enum class TScreenSaverMode : uint8_t {
  None,     // an ordinary show
  Show,     // the screen saver's show
  Preview,  // a preview, which cannot be shown here
  Refused,  // a screen saver program called for anything else: it ends at once
};

// The mode for the program at programPath called with commandLine. The start-up window
// ("-startup") is never a screen saver: it asks the user something.
TScreenSaverMode ScreenSaverModeFor(std::u16string_view programPath, const TCommandLine& commandLine);

// The program path the show's run mode is read from (a path ending in ".scr" makes the
// show a screen saver): programPath, with ".scr" put on for a screen saver show or taken
// off for anything else.
std::u16string RunModeProgramPath(TScreenSaverMode mode, std::u16string_view programPath);

// The name of the lock one program's screen saver shows share: its path's hashes and
// its file name.
std::string InstanceLockKey(std::u16string_view programPath);

// Said on standard error (and in the log) when a preview is asked for.
inline constexpr std::string_view kPreviewUnavailableText =
    "The screen saver preview is not available: this system gives the player no window to draw it in.";

}  // namespace kiv
