#pragma once
// The shader programs that do what fixed-function texture stages did: one vertex shader
// for every program (world, view and projection transforms; rows of every target stored
// top row first) and a fragment part per program.
//
// A pixel shader given to a renderer is the body of a GLSL ES 3.00 fragment shader. It
// is compiled after these declarations, which it may use:
//   in vec4 vDiffuse, vSpecular;      vertex colours (R, G, B, A)
//   in highp vec2 vTex0 ... vTex7;    texture coordinates of each set
//   uniform sampler2D uTex0 ... uTex7; the textures of the draw, by stage
//   uniform vec4 uConst[32];           the pixel shader constants
//   out vec4 fragColour;
#include <GLES3/gl3.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "render/device/vertex_3d.h"

namespace kiv {

// Attribute locations of the vertex shader.
namespace VertexAttribute {
inline constexpr GLuint Position = 0;
inline constexpr GLuint Normal = 1;
inline constexpr GLuint Diffuse = 2;
inline constexpr GLuint Specular = 3;
inline constexpr GLuint FirstTexture = 4;
}  // namespace VertexAttribute

struct TGLProgram {
  GLuint Name = 0;
  GLint World = -1;
  GLint View = -1;
  GLint Projection = -1;
  // Fixed-function state; -1 in pixel shaders.
  GLint LodBias = -1;
  GLint Constants = -1;
};

// What the texture stages of a draw do: stage i (of Count) either modulates the colour
// so far with its texture or selects its texture; alpha likewise, except that stages
// whose texture has no alpha (bit i of OpaqueStages) keep the alpha so far.
struct TFixedStages {
  int Count = 0;
  bool ModulateColour = false;
  bool ModulateAlpha = false;
  int OpaqueStages = 0;
  // Bit i: stage i samples through mip levels and takes its LOD bias; other stages read
  // one level with the same filter up close and far off, where a bias changes nothing
  // and the sampler need not work out a level at all.
  int BiasedStages = 0;

  // Tells apart every kind of stages there is.
  uint32_t Key() const;
};

// The fragment body that stands in for the texture stages.
std::string FixedFragmentBody(const TFixedStages& stages);

// Compiles and links a program with fragmentBody; Name is 0 on failure (logged).
// Must run with the program's context current.
TGLProgram BuildProgram(std::string_view fragmentBody);

}  // namespace kiv
