#include <SDL2/SDL_audio.h>
