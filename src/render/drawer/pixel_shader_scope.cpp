#include "render/drawer/pixel_shader_scope.h"

#include "render/screen/vertex_buffer.h"

namespace kiv {

TPixelShaderScope::TPixelShaderScope(T3DScreen& screen, int shader, std::span<const float> constants)
    : FScreen(screen) {
  T3DRenderer* renderer = screen.Renderer();
  if (shader < 0 || !renderer || !screen.IsReady()) return;
  screen.Batch().Flush();
  FActive = renderer->SetPixelShader(shader);
  if (FActive && !constants.empty())
    renderer->SetPixelShaderConstants(0, constants.data(), int(constants.size() / 4));
}

TPixelShaderScope::~TPixelShaderScope() {
  if (!FActive) return;
  FScreen.Batch().Flush();
  if (T3DRenderer* renderer = FScreen.Renderer()) renderer->ResetPixelShader();
}

}  // namespace kiv
