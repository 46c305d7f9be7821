#include "render/device/gl_programs.h"

#include <vector>

#include "base/log.h"

namespace kiv {

namespace {

std::string VertexSource() {
  std::string source =
      "#version 300 es\n"
      "layout(location = 0) in vec3 aPosition;\n"
      "layout(location = 2) in vec4 aDiffuse;\n"
      "layout(location = 3) in vec4 aSpecular;\n"
      "uniform mat4 uWorld;\n"
      "uniform mat4 uView;\n"
      "uniform mat4 uProjection;\n"
      "out vec4 vDiffuse;\n"
      "out vec4 vSpecular;\n";
  for (int i = 0; i < kMaxTextureSets; ++i) {
    const std::string n = std::to_string(i);
    source += "layout(location = " + std::to_string(4 + i) + ") in highp vec2 aTex" + n + ";\n";
    source += "out highp vec2 vTex" + n + ";\n";
  }
  source +=
      "void main() {\n"
      // Matrices are given for row vectors; read as columns they apply to column vectors.
      "  vec4 p = uProjection * (uView * (uWorld * vec4(aPosition, 1.0)));\n"
      // Screen y grows downwards and row 0 of every target is the top row; depth goes
      // from 0..w to -w..w.
      "  gl_Position = vec4(p.x, -p.y, 2.0 * p.z - p.w, p.w);\n"
      // Colours arrive as the bytes of 0xAARRGGBB: B, G, R, A.
      "  vDiffuse = aDiffuse.bgra;\n"
      "  vSpecular = aSpecular.bgra;\n";
  for (int i = 0; i < kMaxTextureSets; ++i) source += "  vTex" + std::to_string(i) + " = aTex" + std::to_string(i) + ";\n";
  source += "}\n";
  return source;
}

std::string FragmentPrelude() {
  std::string source =
      "#version 300 es\n"
      "precision highp float;\n"
      "in vec4 vDiffuse;\n"
      "in vec4 vSpecular;\n"
      "uniform vec4 uConst[32];\n"
      "out vec4 fragColour;\n";
  for (int i = 0; i < kMaxTextureSets; ++i) {
    const std::string n = std::to_string(i);
    source += "in highp vec2 vTex" + n + ";\nuniform sampler2D uTex" + n + ";\n";
  }
  return source;
}

// Each stage's colour and alpha, written out for the stages at hand: a draw then runs
// no branch, and interpolates no texture coordinates, that it does not need.
std::string MakeFixedBody(const TFixedStages& stages) {
  std::string body =
      "uniform float uLodBias[8];\n"
      "void main() {\n"
      "  vec4 current = vDiffuse;\n"
      "  vec4 texel;\n";
  for (int i = 0; i < stages.Count; ++i) {
    const std::string n = std::to_string(i);
    const bool biased = ((stages.BiasedStages >> i) & 1) != 0;
    body += "  texel = texture(uTex" + n + ", vTex" + n + (biased ? ", uLodBias[" + n + "]);\n" : ");\n");
    const std::string colour = stages.ModulateColour ? "texel.rgb * current.rgb" : "texel.rgb";
    const std::string alpha = !stages.ModulateAlpha                   ? "texel.a"
                              : ((stages.OpaqueStages >> i) & 1) != 0 ? "current.a"
                                                                      : "texel.a * current.a";
    body += "  current = vec4(" + colour + ", " + alpha + ");\n";
  }
  body += "  fragColour = current;\n}\n";
  return body;
}

}  // namespace

uint32_t TFixedStages::Key() const {
  return uint32_t(Count) | (ModulateColour ? 1u << 4 : 0u) | (ModulateAlpha ? 1u << 5 : 0u) |
         uint32_t(OpaqueStages & 0xFF) << 6 | uint32_t(BiasedStages & 0xFF) << 14;
}

std::string FixedFragmentBody(const TFixedStages& stages) { return MakeFixedBody(stages); }

namespace {

GLuint Compile(GLenum kind, const std::string& source) {
  const GLuint shader = glCreateShader(kind);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok) return shader;
  GLint length = 0;
  glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> message(size_t(std::max(length, 1)));
  glGetShaderInfoLog(shader, GLsizei(message.size()), nullptr, message.data());
  Log().Write(std::string("Shader compile error: ") + message.data());
  glDeleteShader(shader);
  return 0;
}

}  // namespace

TGLProgram BuildProgram(std::string_view fragmentBody) {
  TGLProgram program;
  const GLuint vertex = Compile(GL_VERTEX_SHADER, VertexSource());
  const GLuint fragment = Compile(GL_FRAGMENT_SHADER, FragmentPrelude() + std::string(fragmentBody));
  if (vertex && fragment) {
    program.Name = glCreateProgram();
    glAttachShader(program.Name, vertex);
    glAttachShader(program.Name, fragment);
    glLinkProgram(program.Name);
    GLint ok = 0;
    glGetProgramiv(program.Name, GL_LINK_STATUS, &ok);
    if (!ok) {
      Log().Write("Shader link error");
      glDeleteProgram(program.Name);
      program.Name = 0;
    }
  }
  if (vertex) glDeleteShader(vertex);
  if (fragment) glDeleteShader(fragment);
  if (!program.Name) return program;

  const GLuint name = program.Name;
  program.World = glGetUniformLocation(name, "uWorld");
  program.View = glGetUniformLocation(name, "uView");
  program.Projection = glGetUniformLocation(name, "uProjection");
  program.LodBias = glGetUniformLocation(name, "uLodBias");
  program.Constants = glGetUniformLocation(name, "uConst");
  // Sampler i reads texture unit i for good.
  glUseProgram(name);
  for (int i = 0; i < kMaxTextureSets; ++i) {
    const GLint sampler = glGetUniformLocation(name, ("uTex" + std::to_string(i)).c_str());
    if (sampler >= 0) glUniform1i(sampler, i);
  }
  glUseProgram(0);
  return program;
}

}  // namespace kiv
