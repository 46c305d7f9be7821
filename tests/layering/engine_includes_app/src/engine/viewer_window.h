#include "app/sdl_show_window.h"
