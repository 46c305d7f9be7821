#include "render/device/gl_result.h"

#include <GLES3/gl3.h>

namespace kiv {

namespace {
constexpr GLenum kContextLost = 0x0507;  // GL_CONTEXT_LOST of the robustness extensions
}

TDeviceError TakeGLResult() {
  TDeviceError result = TDeviceError::Ok;
  for (int guard = 0; guard < 16; ++guard) {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) break;
    if (result != TDeviceError::Ok) continue;
    switch (error) {
      case GL_INVALID_ENUM:
      case GL_INVALID_VALUE:
      case GL_INVALID_OPERATION:
      case GL_INVALID_FRAMEBUFFER_OPERATION: result = TDeviceError::InvalidCall; break;
      case kContextLost: result = TDeviceError::DeviceLost; break;
      default: result = TDeviceError::Other; break;
    }
  }
  return result;
}

}  // namespace kiv
