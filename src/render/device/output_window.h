#pragma once
// The windows that OpenGL ES draws into, opaque to everything above the device layer.
#include <memory>

#include "render/device/geometry_3d.h"

namespace kiv {

class TOutputWindow;

struct TOutputWindowDeleter {
  void operator()(TOutputWindow* window) const;
};
using TOutputWindowPtr = std::unique_ptr<TOutputWindow, TOutputWindowDeleter>;

// A hidden window at rect ready for an OpenGL ES 3.0 context; null on failure (see
// VideoError). Sets the context attributes every context of the program uses.
TOutputWindowPtr CreateDrawWindow(const TRect& rect, const char* title = "");

// Asks for OpenGL ES 3.0 contexts without depth or stencil buffers.
void SetContextAttributes();

}  // namespace kiv
