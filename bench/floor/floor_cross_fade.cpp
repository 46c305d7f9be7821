#include "floor_cross_fade.h"

#include <GLES3/gl3.h>

#include <stdexcept>
#include <string>

namespace kiv {

namespace {

constexpr const char* kVertexSource =
    "#version 300 es\n"
    "layout(location = 0) in vec2 aPosition;\n"
    "out vec2 vTex;\n"
    "void main() {\n"
    "  vTex = vec2(aPosition.x * 0.5 + 0.5, 0.5 - aPosition.y * 0.5);\n"
    "  gl_Position = vec4(aPosition, 0.0, 1.0);\n"
    "}\n";

constexpr const char* kFragmentSource =
    "#version 300 es\n"
    "precision mediump float;\n"
    "in vec2 vTex;\n"
    "uniform sampler2D uFrom;\n"
    "uniform sampler2D uTo;\n"
    "uniform float uMix;\n"
    "out vec4 fragColour;\n"
    "void main() { fragColour = mix(texture(uFrom, vTex), texture(uTo, vTex), uMix); }\n";

GLuint Compiled(GLenum kind, const char* source) {
  const GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint done = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &done);
  if (!done) throw std::runtime_error("floor shader does not compile");
  return shader;
}

}  // namespace

TFloorCrossFade::TFloorCrossFade(int width, int height, const std::vector<uint8_t>& from,
                                 const std::vector<uint8_t>& to)
    : FWidth(width), FHeight(height) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  FWindow = SDL_CreateWindow("floor", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!FWindow) throw std::runtime_error(std::string("floor window: ") + SDL_GetError());
  FContext = SDL_GL_CreateContext(FWindow);
  if (!FContext) {
    SDL_DestroyWindow(FWindow);
    throw std::runtime_error(std::string("floor context: ") + SDL_GetError());
  }
  SDL_GL_SetSwapInterval(0);

  const GLuint vertex = Compiled(GL_VERTEX_SHADER, kVertexSource);
  const GLuint fragment = Compiled(GL_FRAGMENT_SHADER, kFragmentSource);
  FProgram = glCreateProgram();
  glAttachShader(FProgram, vertex);
  glAttachShader(FProgram, fragment);
  glLinkProgram(FProgram);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  glUseProgram(FProgram);
  glUniform1i(glGetUniformLocation(FProgram, "uFrom"), 0);
  glUniform1i(glGetUniformLocation(FProgram, "uTo"), 1);
  FMix = glGetUniformLocation(FProgram, "uMix");

  static constexpr float kQuad[] = {-1, -1, 1, -1, -1, 1, 1, 1};
  glGenVertexArrays(1, &FArray);
  glBindVertexArray(FArray);
  glGenBuffers(1, &FBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, FBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof(kQuad), kQuad, GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);

  glGenTextures(2, FTextures);
  const std::vector<uint8_t>* pictures[2] = {&from, &to};
  for (int i = 0; i < 2; ++i) {
    glActiveTexture(GL_TEXTURE0 + GLenum(i));
    glBindTexture(GL_TEXTURE_2D, FTextures[i]);
    glTexStorage2D(GL_TEXTURE_2D, 1, GL_RGBA8, width, height);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pictures[i]->data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
  glViewport(0, 0, width, height);
  glDisable(GL_BLEND);
}

TFloorCrossFade::~TFloorCrossFade() {
  SDL_GL_MakeCurrent(FWindow, FContext);
  glDeleteTextures(2, FTextures);
  glDeleteBuffers(1, &FBuffer);
  glDeleteVertexArrays(1, &FArray);
  glDeleteProgram(FProgram);
  SDL_GL_MakeCurrent(FWindow, nullptr);
  SDL_GL_DeleteContext(FContext);
  SDL_DestroyWindow(FWindow);
}

void TFloorCrossFade::DrawFrame(float mix, bool readBack) {
  if (SDL_GL_GetCurrentContext() != FContext) SDL_GL_MakeCurrent(FWindow, FContext);
  glUniform1f(FMix, mix);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  if (readBack) {
    FPixels.resize(size_t(FWidth) * FHeight * 4);
    glReadPixels(0, 0, FWidth, FHeight, GL_RGBA, GL_UNSIGNED_BYTE, FPixels.data());
  } else {
    // The frame is done when it is drawn, not when it is queued.
    glFinish();
  }
  SDL_GL_SwapWindow(FWindow);
}

void TFloorCrossFade::Release() { SDL_GL_MakeCurrent(FWindow, nullptr); }

std::vector<uint8_t> FloorPicture(int width, int height, int seed) {
  std::vector<uint8_t> rgba(size_t(width) * height * 4);
  uint8_t* out = rgba.data();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x, out += 4) {
      out[0] = uint8_t(x * 255 / width + seed * 40);
      out[1] = uint8_t(y * 255 / height + seed * 90);
      out[2] = uint8_t((x ^ y) + seed * 17);
      out[3] = 255;
    }
  return rgba;
}

}  // namespace kiv
