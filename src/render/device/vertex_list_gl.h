#pragma once
// A vertex list on an OpenGL ES context: the vertices are kept in memory in the list's
// layout and written to the GL buffer by the draw that follows a fill.
#include <GLES3/gl3.h>

#include <array>
#include <vector>

#include "base/rect.h"
#include "render/device/geometry_3d.h"

#include "render/device/vertex_layout.h"
#include "render/device/vertex_list_3d.h"

namespace kiv {

class TDevStore;

class T3DVertexListGL : public T3DVertexList {
 public:
  T3DVertexListGL(TDevStore& store, int vertexCount, const TVertexLayout& layout);
  ~T3DVertexListGL() override;

  bool SetDrawRange(int firstVertex, int primitiveCount, TPrimitiveType type) override;
  bool Fill(int firstVertex, const T3DVertex* vertices, int count, int firstInput) override;
  int VertexCount() const override { return FVertexCount; }

  TDevStore* Store() const { return FStore; }
  const TVertexLayout& Layout() const { return FLayout; }
  // With the context current: draws the range set last; false when it lies outside.
  bool Draw();
  // Every vertex of the range set last has a diffuse alpha of 255 (or the layout has no
  // diffuse colour, which reads as white).
  bool OpaqueDiffuse() const;
  // The triangles of the range set last, carried by transforms (world, view, projection)
  // onto viewport, sample stage's texture (width x height texels) only inside area, with
  // no filter reaching past its edge: each triangle's corners lie on whole pixels at one
  // depth of view, its texels run along its pixels at a scale of at least one, and its
  // texture coordinates lie in area.
  bool SamplesWithin(const std::array<TMatrix4, 3>& transforms, const TRect& viewport, int stage, int width,
                     int height, const TRect& area) const;

  void StoreGone();

 private:
  void MakeBuffers();

  TDevStore* FStore;
  int FVertexCount;
  TVertexLayout FLayout;
  std::vector<uint8_t> FBytes;
  int FDirtyFirst;
  int FDirtyEnd = 0;
  TPrimitiveType FType = TPrimitiveType::TriangleList;
  int FFirstVertex = 0;
  int FPrimitiveCount = 0;
  GLuint FBuffer = 0;
  GLuint FArray = 0;
};

// The vertices that primitiveCount primitives of type use.
int VerticesOfPrimitives(TPrimitiveType type, int primitiveCount);

}  // namespace kiv
