#pragma once
// The SDL window behind an output window, for the code that talks to SDL itself: the
// device layer and the player's window.
#include "render/device/output_window.h"

struct SDL_Window;

namespace kiv {

SDL_Window* SdlWindowOf(const TOutputWindow* window);

}  // namespace kiv
