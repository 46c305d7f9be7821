#pragma once
// A vertex list on an OpenGL ES context: the vertices are kept in memory in the list's
// layout and written to the GL buffer by the draw that follows a fill.
#include <GLES3/gl3.h>

#include <vector>

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
