#pragma once
// What the main window does when the engine reports the end of the show.

namespace kiv {

class TKivSource;

// True when the report ends a show whose window closes at its end ("opt_repeat" "close").
bool EndClosesWindow(const TKivSource& source, bool finished);

}  // namespace kiv
