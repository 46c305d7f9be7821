#include "render/device/gl_result.h"

#include <GLES3/gl3.h>

namespace kiv {

namespace {
constexpr GLenum kContextLost = 0x0507;  // GL_CONTEXT_LOST of the robustness extensions
}

TDxError TakeGLResult() {
  TDxError result = TDxError::Ok;
  for (int guard = 0; guard < 16; ++guard) {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) break;
    if (result != TDxError::Ok) continue;
    switch (error) {
      case GL_INVALID_ENUM:
      case GL_INVALID_VALUE:
      case GL_INVALID_OPERATION:
      case GL_INVALID_FRAMEBUFFER_OPERATION: result = TDxError::InvalidCall; break;
      case kContextLost: result = TDxError::DeviceLost; break;
      default: result = TDxError::Other; break;
    }
  }
  return result;
}

}  // namespace kiv
