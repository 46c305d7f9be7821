#include "render/drawer/drawer_shaders.h"

#include <string>

#include "render/device/renderer_3d.h"

namespace kiv {

namespace {

std::string UnsharpMaskShader() {
  return "void main() {\n"
         "  vec2 texel = uConst[0].xy;\n"
         "  vec4 centre = texture(uTex0, vTex0);\n"
         "  vec3 blur = vec3(0.0);\n"
         // A 3 x 3 Gaussian: weights 1 2 1 / 2 4 2 / 1 2 1.
         "  for (int dy = -1; dy <= 1; ++dy)\n"
         "    for (int dx = -1; dx <= 1; ++dx) {\n"
         "      vec2 at = min(vTex0 + vec2(float(dx), float(dy)) * texel, uConst[3].xy);\n"
         "      blur += float((2 - abs(dx)) * (2 - abs(dy))) * texture(uTex0, at).rgb;\n"
         "    }\n"
         "  vec3 detail = centre.rgb - blur / 16.0;\n"
         // Differences below the threshold are noise and stay as they are.
         "  vec3 sharpen = step(vec3(uConst[1].x), abs(detail));\n"
         "  vec3 colour = centre.rgb + detail * uConst[2].x * sharpen;\n"
         "  fragColour = vec4(clamp(colour, 0.0, 1.0), centre.a * vDiffuse.a);\n"
         "}\n";
}

std::string YuvShader(bool fieldSelect) {
  std::string body =
      "void main() {\n"
      "  vec2 at = vTex0;\n";
  if (fieldSelect)
    body +=
        // Every line shows the line of the chosen field at or above it.
        "  float row = floor(at.y * uConst[5].x);\n"
        "  at.y = (row - mod(row, 2.0) + uConst[6].x + 0.5) * uConst[5].y;\n";
  body +=
      "  float y = uConst[4].x * (texture(uTex0, at).r - 16.0 / 255.0);\n"
      "  float u = texture(uTex1, vTex1).r - 128.0 / 255.0;\n"
      "  float v = texture(uTex2, vTex2).r - 128.0 / 255.0;\n"
      "  vec3 rgb = vec3(y + uConst[0].x * v, y - uConst[1].x * v - uConst[2].x * u, y + uConst[3].x * u);\n"
      "  fragColour = vec4(clamp(rgb, 0.0, 1.0), vDiffuse.a);\n"
      "}\n";
  return body;
}

std::string MaskedGroupShader() {
  return "void main() {\n"
         "  fragColour = vec4(texture(uTex0, vTex0).rgb, texture(uTex1, vTex1).a * vDiffuse.a);\n"
         "}\n";
}

std::string MaskedGroupDirectShader() {
  return "void main() {\n"
         "  vec4 content = texelFetch(uTex1, ivec2(floor(gl_FragCoord.xy + uConst[0].xy)), 0);\n"
         "  float alpha = clamp(texture(uTex0, vTex0).a * vDiffuse.a, 0.0, 1.0);\n"
         "  fragColour = vec4(content.rgb, floor(alpha * 255.0 + 0.5) / 255.0);\n"
         "}\n";
}

std::string TintShader() {
  return "void main() {\n"
         "  fragColour = vec4(vDiffuse.rgb, texture(uTex0, vTex0).a * vDiffuse.a);\n"
         "}\n";
}

}  // namespace

TDrawerShaders CreateDrawerShaders(T3DRenderer& renderer, int shaderLevel) {
  auto create = [&renderer](const std::string& source) {
    int index = -1;
    return renderer.CreatePixelShader(source, index) ? index : -1;
  };
  TDrawerShaders shaders;
  if (shaderLevel >= 2) shaders.PostProcess = create(UnsharpMaskShader());
  shaders.Yuv = create(YuvShader(false));
  shaders.YuvField = create(YuvShader(true));
  shaders.MaskedGroup = create(MaskedGroupShader());
  shaders.MaskedGroupDirect = create(MaskedGroupDirectShader());
  shaders.Tint = create(TintShader());
  return shaders;
}

}  // namespace kiv
