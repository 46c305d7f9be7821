#include "render/screen/vertex_buffer.h"

#include <algorithm>

#include "base/errors.h"
#include "render/device/renderer_3d.h"
#include "render/screen/custom_texture.h"
#include "render/screen/screen_3d.h"

namespace kiv {

TVertexBuffer::TVertexBuffer(T3DScreen& screen) : TScreenResource(screen) {}

TVertexBuffer::~TVertexBuffer() = default;

void TVertexBuffer::Release() {
  FList.reset();
  FTriangles = 0;
}

void TVertexBuffer::Reset(int capacity, int textureSets) {
  KIV_ASSERT(capacity > 0 && textureSets >= 0 && textureSets <= kMaxBatchTextures);
  FLimit = std::min(capacity, kDeviceTriangles);
  FTextureSets = textureSets;
  FTextureCount = 0;
  FTriangles = 0;
  FNineGrid = false;
}

bool TVertexBuffer::EnsureList(T3DScreen& screen) {
  // A list is tied to the renderer whose device made it.
  if (FList && FListGeneration == screen.RendererGeneration()) return true;
  FList = screen.Renderer()->CreateVertexList(3 * kDeviceTriangles, VertexOption::Diffuse, kMaxBatchTextures);
  FListGeneration = screen.RendererGeneration();
  return FList != nullptr;
}

void TVertexBuffer::Begin(TCustomTexture* const* textures, int count, bool nineGridMode) {
  KIV_ASSERT(count >= 0 && count <= FTextureSets);
  const bool same = count == FTextureCount && nineGridMode == FNineGrid &&
                    std::equal(textures, textures + count, FTextures.begin());
  if (same) return;
  Flush();
  std::copy(textures, textures + count, FTextures.begin());
  FTextureCount = count;
  FNineGrid = nineGridMode;
}

void TVertexBuffer::AddTriangle(const TVector3* points, const TTexCoord* texels, const uint32_t* colours) {
  // A full batch is drawn whatever its textures, and filling goes on with them.
  if (FTriangles >= FLimit) Flush();
  T3DScreen* screen = Screen();
  if (!screen) return;
  if (FVertices.size() < size_t(3 * FLimit)) FVertices.resize(size_t(3 * FLimit));
  for (int corner = 0; corner < 3; ++corner) {
    T3DVertex& vertex = FVertices[size_t(3 * FTriangles + corner)];
    const TVector3 space = screen->PixelToSpace(points[corner]);
    vertex.X = space.X;
    vertex.Y = space.Y;
    vertex.Z = space.Z;
    vertex.Diffuse = colours[corner];
    for (int t = 0; t < FTextureCount; ++t) {
      const TTexCoord& texel = texels[3 * t + corner];
      vertex.Tex[size_t(t)] = {texel.U * FTextures[size_t(t)]->ReciprocalWidth(),
                               texel.V * FTextures[size_t(t)]->ReciprocalHeight()};
    }
  }
  ++FTriangles;
}

void TVertexBuffer::Flush() {
  const int triangles = FTriangles;
  FTriangles = 0;
  T3DScreen* screen = Screen();
  if (triangles == 0 || !screen || !screen->IsReady()) return;
  T3DRenderer& renderer = *screen->Renderer();
  if (!EnsureList(*screen)) return;
  std::array<T3DTexture*, kMaxBatchTextures> textures{};
  for (int t = 0; t < FTextureCount; ++t) {
    TCustomTexture& owner = *FTextures[size_t(t)];
    T3DTexture* texture = owner.GetTexture();
    if (!texture) return;
    texture->SetAddressMode(TAddressMode::Clamp, TAddressMode::Clamp);
    texture->SetFilter(owner.PointFilter() ? TTextureFilter::Point : TTextureFilter::Linear);
    texture->SetMipMapped(owner.MipMapped());
    texture->SetMipLodBias(owner.MipLodBias());
    textures[size_t(t)] = texture;
  }
  // Vertex alpha carries the opacity of a single texture; several textures combine as
  // the stages do, each taking over from the one before.
  uint32_t flags;
  if (FTextureCount == 0)
    flags = DrawFlag::VertexColour | DrawFlag::AlphaModulation;
  else if (FNineGrid)
    flags = DrawFlag::Textured | DrawFlag::VertexColour | DrawFlag::AlphaModulation;
  else if (FTextureCount == 1)
    flags = DrawFlag::Textured | DrawFlag::AlphaModulation;
  else
    flags = DrawFlag::Textured;
  FList->Fill(0, FVertices.data(), 3 * triangles, 0);
  FList->SetDrawRange(0, triangles, TPrimitiveType::TriangleList);
  renderer.DrawVertexList(textures.data(), FTextureCount, flags, *FList);
}

}  // namespace kiv
