#pragma once
// OpenGL errors as device results.
#include "render/device/device_result.h"

namespace kiv {

// Drains the GL error queue; the first error decides: invalid enum, value, operation or
// framebuffer operation -> InvalidCall, a lost context -> DeviceLost, anything else -> Other.
TDeviceError TakeGLResult();

}  // namespace kiv
