#include <SDL2/SDL_audio.h>
#include <SDL2/SDL_video.h>
