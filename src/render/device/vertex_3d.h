#pragma once
// The program's vertex record: every vertex list is filled from these, taking only the
// components its layout has.
#include <array>
#include <cstdint>

namespace kiv {

inline constexpr int kMaxTextureSets = 8;

struct TTexCoord {
  float U = 0;
  float V = 0;
};

struct T3DVertex {
  float X = 0, Y = 0, Z = 0;
  std::array<TTexCoord, kMaxTextureSets> Tex{};
  uint32_t Diffuse = 0xFFFFFFFF;  // 0xAARRGGBB
  uint32_t Specular = 0;
  float NX = 0, NY = 0, NZ = 0;
};
static_assert(sizeof(T3DVertex) == 96);

}  // namespace kiv
