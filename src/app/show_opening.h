#pragma once
// Opening the show to play: a show appended to an executable, or a project file on disk.
#include <memory>
#include <string>
#include <string_view>

#include "app/command_line.h"
#include "app/message_box.h"
#include "app/start_parameters.h"
#include "model/show_locator.h"

namespace kiv {

struct TShowRequest {
  std::u16string Path;  // absolute
  bool IsExecutable = true;
};

// The show named at start: option "filename" (a project file), else option "exename",
// else the program itself; relative paths are taken from the program folder, or from
// the current folder when the show is not found from the program folder but is there.
TShowRequest StartShowRequest(const TCommandLine& commandLine, const TStartParameters& start);

// The loose show file tried when an executable carries no show: same path, ".KvShow".
std::u16string LooseShowPath(std::u16string_view executablePath);

// The text the user sees when a show cannot be opened. For an executable: the opener's
// own error text or "Can`t Load Show", then both paths tried; for a project file
// "Can`t Load .kiv File" and its path. Paths are in double quotes.
std::u16string ShowLoadFailureText(const TShowRequest& request, std::u16string_view errorText);

// A path ending in ".app" names a bundle whose show lies in Contents/Resources/
// slideshow.dat; the path stays when it stands for a project file or the bundle has no
// such file.
std::u16string ResolveBundlePath(std::u16string_view path);

// Opens the requested show (for an executable falling back to its loose show file) and
// builds its show source. On failure the user is told and the result is null. Every
// reason not to play the show is settled before the result is handed out, so a caller
// playing another show replaces it only with a show that will play.
std::unique_ptr<TKivShowLocator> OpenShow(const TShowRequest& request, std::u16string_view programPath);

}  // namespace kiv
