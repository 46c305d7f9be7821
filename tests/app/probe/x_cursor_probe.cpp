// Prints how many pixels of the X pointer's current image can be seen, 0 when it is
// hidden; the window tests ask it whether the player hid its pointer.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 2;
  XFixesCursorImage* image = XFixesGetCursorImage(display);
  if (!image) return 3;
  long seen = 0;
  for (long i = 0; i < long(image->width) * long(image->height); ++i)
    if ((image->pixels[i] >> 24) & 0xFF) ++seen;
  std::printf("%ld\n", seen);
  XFree(image);
  XCloseDisplay(display);
  return 0;
}
