#include <SDL2/SDL_keycode.h>
