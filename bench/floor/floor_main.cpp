// kiv_floor [WIDTH HEIGHT [FRAMES [read-back]]]: the bare cross-fade on its own, for
// watching the floor outside the benchmark (perf, GALLIUM_HUD). Prints the time from
// starting the video to the first frame read back, and the frames per second of a
// cross-fade of FRAMES frames. Offscreen unless SDL_VIDEODRIVER names a display.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "floor_cross_fade.h"

int main(int argc, char** argv) {
  const int width = argc > 2 ? std::atoi(argv[1]) : 1920;
  const int height = argc > 2 ? std::atoi(argv[2]) : 1080;
  const int frames = argc > 3 ? std::atoi(argv[3]) : 200;
  const bool readBack = argc > 4 && std::strcmp(argv[4], "read-back") == 0;
  if (width <= 0 || height <= 0 || frames <= 0) {
    std::fprintf(stderr, "usage: kiv_floor [WIDTH HEIGHT [FRAMES [read-back]]]\n");
    return 2;
  }
  const std::vector<uint8_t> from = kiv::FloorPicture(width, height, 0), to = kiv::FloorPicture(width, height, 1);
  using TClock = std::chrono::steady_clock;
  const auto start = TClock::now();
  if (!std::getenv("SDL_VIDEODRIVER")) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "kiv_floor: %s\n", SDL_GetError());
    return 1;
  }
  try {
    kiv::TFloorCrossFade floor(width, height, from, to);
    floor.DrawFrame(0, true);
    const std::chrono::duration<double, std::milli> first = TClock::now() - start;
    const auto drawing = TClock::now();
    for (int i = 0; i < frames; ++i) floor.DrawFrame(float(i) / float(frames), readBack);
    const std::chrono::duration<double> drawn = TClock::now() - drawing;
    std::printf("first frame: %.1f ms\nframes/s at %d x %d%s: %.1f\n", first.count(), width, height,
                readBack ? " read back" : "", frames / drawn.count());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kiv_floor: %s\n", e.what());
    return 1;
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return 0;
}
