#pragma once
// Where each component of a vertex lies in a vertex list with the given options: position,
// normal, diffuse, specular, then the texture sets, as the flexible vertex format codes
// them.
#include <cstdint>

namespace kiv {

namespace VertexFormat {
inline constexpr uint32_t Xyz = 0x2;
inline constexpr uint32_t Normal = 0x10;
inline constexpr uint32_t Diffuse = 0x40;
inline constexpr uint32_t Specular = 0x80;
inline constexpr int TexCountShift = 8;
}  // namespace VertexFormat

struct TVertexLayout {
  uint32_t FormatCode = 0;
  int Stride = 0;
  bool HasDiffuse = false;
  bool HasSpecular = false;
  bool HasNormal = false;
  int DiffuseOffset = 0;
  int SpecularOffset = 0;
  int NormalOffset = 0;
  int TexOffset = 0;
  int TexSets = 0;
};

// options: VertexOption bits; textureSets 0 to 8.
TVertexLayout MakeVertexLayout(uint32_t options, int textureSets);

}  // namespace kiv
