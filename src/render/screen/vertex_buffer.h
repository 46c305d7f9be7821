#pragma once
// A batch of textured triangles given in screen pixels, drawn in one call when it is
// full, when other textures come, or when flushed.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/device/geometry_3d.h"
#include "render/device/vertex_3d.h"
#include "render/device/vertex_list_3d.h"
#include "render/screen/screen_resource.h"

namespace kiv {

class TCustomTexture;
class T3DRenderer;

inline constexpr int kMaxBatchTextures = 7;

class TVertexBuffer : public TScreenResource {
 public:
  explicit TVertexBuffer(T3DScreen& screen);
  ~TVertexBuffer() override;

  // Starts triangles with textures (count up to the batch's texture sets): what is
  // pending for other textures or another mode is drawn first.
  void Begin(TCustomTexture* const* textures, int count, bool nineGridMode = false);
  // points in screen pixels; texels: per texture, three texture positions in its pixels;
  // colours 0xAARRGGBB per point. A full batch is drawn and filling goes on.
  void AddTriangle(const TVector3* points, const TTexCoord* texels, const uint32_t* colours);
  // Draws and empties the batch.
  void Flush();
  // Empties the batch, which then takes capacity triangles with textureSets textures.
  void Reset(int capacity, int textureSets);

  void Release() override;

  int TriangleCount() const { return FTriangles; }
  int Capacity() const { return FLimit; }

 private:
  static constexpr int kDeviceTriangles = 1024;

  bool EnsureList(T3DScreen& screen);

  std::unique_ptr<T3DVertexList> FList;
  uint64_t FListGeneration = 0;  // the screen's renderer generation the list was made with
  int FLimit = 32;
  int FTextureSets = 2;
  std::array<TCustomTexture*, kMaxBatchTextures> FTextures{};
  int FTextureCount = 0;
  std::vector<T3DVertex> FVertices;
  int FTriangles = 0;
  bool FNineGrid = false;
};

}  // namespace kiv
