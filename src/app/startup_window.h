#pragma once
// The start-up window, the parent's side: a show whose "main" says "stw_show" first runs
// a copy of the player with "-startup", which shows the show's start-up dialog in a
// topmost window of its own; the show plays only when that child ends with exit code 1
// (the user pressed Enter there). Meanwhile the parent shows nothing and takes no input.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/show_opening.h"
#include "ini/ini_storage.h"

namespace kiv {

// The show asks for the start-up window, and this is not the start-up window itself.
bool WantsStartupWindow(const TIniStorage& project, const TCommandLine& commandLine);

// The child's arguments: the program, "-exename" (or "-filename" for a project file) and
// the show's path, "-startup", and "-display" with the monitor when one was given.
std::vector<std::string> StartupWindowArguments(std::u16string_view programPath, const TShowRequest& request,
                                                const TCommandLine& commandLine);

// Runs the child and waits for it; whileWaiting, when given, runs every 10 ms meanwhile
// (a window of the caller keeps taking its events there, ignoring them). The child's
// exit code; none when it could not start or a signal ended it.
std::optional<int> RunStartupWindow(const std::vector<std::string>& arguments,
                                    const std::function<void()>& whileWaiting = {});

// The start-up window decides whether the show plays: true when the show wants none,
// or the child ended with 1.
bool StartupWindowLetsShowPlay(const TIniStorage& project, std::u16string_view programPath, const TShowRequest& request,
                               const TCommandLine& commandLine, const std::function<void()>& whileWaiting = {});

}  // namespace kiv
