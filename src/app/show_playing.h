#pragma once
// Plays an opened show in its window until the window closes: the main thread's side of
// playback. Returns the process exit code.
#include <memory>
#include <string_view>

#include "app/command_line.h"
#include "model/show_locator.h"
#include "platform/audio_output.h"

namespace kiv {

// Fails when there is no display to show it on or its window cannot be made. The show's
// music plays through output (none: silent, on the program clock).
int PlayShow(TKivShowLocator& show, const TCommandLine& commandLine, std::u16string_view programPath,
             std::unique_ptr<IAudioOutput> output);

}  // namespace kiv
