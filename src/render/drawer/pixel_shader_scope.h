#pragma once
// Draws through one of the renderer's pixel shaders for the scope's lifetime. What the
// screen's batch holds is drawn before the shader is selected and again before it is
// reset, so the shader applies to exactly what is drawn inside the scope.
#include <span>

#include "render/screen/screen_3d.h"

namespace kiv {

class TPixelShaderScope {
 public:
  // shader: an index of the renderer's shaders, -1 for none (then the fixed stages
  // draw); constants: four floats per register from register 0.
  TPixelShaderScope(T3DScreen& screen, int shader, std::span<const float> constants = {});
  ~TPixelShaderScope();
  TPixelShaderScope(const TPixelShaderScope&) = delete;
  TPixelShaderScope& operator=(const TPixelShaderScope&) = delete;

  bool Active() const { return FActive; }

 private:
  T3DScreen& FScreen;
  bool FActive = false;
};

}  // namespace kiv
