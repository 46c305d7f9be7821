#pragma once
// The floor of drawing a slide change: the least a program can do with SDL2 and
// OpenGL ES 3 through EGL to cross-fade two full-window pictures. One hidden window and
// its context, one program, two textures uploaded once, one quad per frame drawn
// straight into the window's buffer and, when asked, read back with glReadPixels. The
// benchmarks set the player's frames beside this one's, in the same process and run.
#include <SDL2/SDL.h>

#include <cstdint>
#include <vector>

namespace kiv {

class TFloorCrossFade {
 public:
  // Opens the window of width × height and uploads the two pictures (RGBA rows, top row
  // first, width × height each). SDL's video must be started. Throws std::runtime_error
  // when no window or context can be made.
  TFloorCrossFade(int width, int height, const std::vector<uint8_t>& from, const std::vector<uint8_t>& to);
  ~TFloorCrossFade();
  TFloorCrossFade(const TFloorCrossFade&) = delete;
  TFloorCrossFade& operator=(const TFloorCrossFade&) = delete;

  // One frame at mix 0 (from) … 1 (to), complete when this returns; with readBack its
  // pixels are in Pixels().
  void DrawFrame(float mix, bool readBack);
  const std::vector<uint8_t>& Pixels() const { return FPixels; }
  // Leaves the context so that other contexts may be made current on this thread.
  void Release();

 private:
  int FWidth, FHeight;
  SDL_Window* FWindow = nullptr;
  SDL_GLContext FContext = nullptr;
  unsigned FProgram = 0, FArray = 0, FBuffer = 0;
  unsigned FTextures[2] = {0, 0};
  int FMix = -1;
  std::vector<uint8_t> FPixels;
};

// A picture of width × height as RGBA rows: a smooth pattern of colours seeded by seed,
// with nothing uniform for a rasteriser to skip.
std::vector<uint8_t> FloorPicture(int width, int height, int seed);

}  // namespace kiv
