#include "render/device/vertex_list_gl.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "render/device/dev_store.h"
#include "render/device/device_lock.h"
#include "render/device/gl_programs.h"

namespace kiv {

namespace {

GLenum PrimitiveMode(TPrimitiveType type) {
  switch (type) {
    case TPrimitiveType::PointList: return GL_POINTS;
    case TPrimitiveType::LineList: return GL_LINES;
    case TPrimitiveType::LineStrip: return GL_LINE_STRIP;
    case TPrimitiveType::TriangleList: return GL_TRIANGLES;
    case TPrimitiveType::TriangleStrip: return GL_TRIANGLE_STRIP;
    case TPrimitiveType::TriangleFan: return GL_TRIANGLE_FAN;
  }
  return GL_TRIANGLES;
}

}  // namespace

int VerticesOfPrimitives(TPrimitiveType type, int primitiveCount) {
  if (primitiveCount <= 0) return 0;
  switch (type) {
    case TPrimitiveType::PointList: return primitiveCount;
    case TPrimitiveType::LineList: return 2 * primitiveCount;
    case TPrimitiveType::LineStrip: return primitiveCount + 1;
    case TPrimitiveType::TriangleList: return 3 * primitiveCount;
    case TPrimitiveType::TriangleStrip:
    case TPrimitiveType::TriangleFan: return primitiveCount + 2;
  }
  return 0;
}

T3DVertexListGL::T3DVertexListGL(TDevStore& store, int vertexCount, const TVertexLayout& layout)
    : FStore(&store),
      FVertexCount(vertexCount),
      FLayout(layout),
      FBytes(size_t(vertexCount) * size_t(layout.Stride)),
      FDirtyFirst(vertexCount) {
  store.AddVertexList(this);
}

T3DVertexListGL::~T3DVertexListGL() {
  TDeviceLockGuard lock;
  if (!FStore) return;
  FStore->RemoveVertexList(this);
  FStore->DeleteBufferLater(FBuffer);
  FStore->DeleteVertexArrayLater(FArray);
}

bool T3DVertexListGL::SetDrawRange(int firstVertex, int primitiveCount, TPrimitiveType type) {
  KIV_ASSERT(uint8_t(type) <= uint8_t(TPrimitiveType::TriangleFan));
  TDeviceLockGuard lock;
  FFirstVertex = firstVertex;
  FPrimitiveCount = primitiveCount;
  FType = type;
  return SetResult(TDeviceError::Ok);
}

bool T3DVertexListGL::Fill(int firstVertex, const T3DVertex* vertices, int count, int firstInput) {
  TDeviceLockGuard lock;
  if (!FStore) return SetResult(TDeviceError::DeviceLost);
  if (firstVertex < 0 || count < 0 || firstInput < 0 || firstVertex + count > FVertexCount)
    return SetResult(TDeviceError::InvalidCall);
  for (int i = 0; i < count; ++i) {
    const T3DVertex& v = vertices[firstInput + i];
    uint8_t* out = FBytes.data() + size_t(firstVertex + i) * size_t(FLayout.Stride);
    std::memcpy(out, &v.X, 12);
    if (FLayout.HasNormal) std::memcpy(out + FLayout.NormalOffset, &v.NX, 12);
    if (FLayout.HasDiffuse) std::memcpy(out + FLayout.DiffuseOffset, &v.Diffuse, 4);
    if (FLayout.HasSpecular) std::memcpy(out + FLayout.SpecularOffset, &v.Specular, 4);
    std::memcpy(out + FLayout.TexOffset, v.Tex.data(), size_t(8 * FLayout.TexSets));
  }
  FDirtyFirst = std::min(FDirtyFirst, firstVertex);
  FDirtyEnd = std::max(FDirtyEnd, firstVertex + count);
  return SetResult(TDeviceError::Ok);
}

void T3DVertexListGL::MakeBuffers() {
  glGenBuffers(1, &FBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, FBuffer);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(FBytes.size()), nullptr, GL_DYNAMIC_DRAW);
  glGenVertexArrays(1, &FArray);
  glBindVertexArray(FArray);
  const GLsizei stride = FLayout.Stride;
  auto at = [](int offset) { return reinterpret_cast<const void*>(intptr_t(offset)); };
  glEnableVertexAttribArray(VertexAttribute::Position);
  glVertexAttribPointer(VertexAttribute::Position, 3, GL_FLOAT, GL_FALSE, stride, at(0));
  if (FLayout.HasNormal) {
    glEnableVertexAttribArray(VertexAttribute::Normal);
    glVertexAttribPointer(VertexAttribute::Normal, 3, GL_FLOAT, GL_FALSE, stride, at(FLayout.NormalOffset));
  }
  if (FLayout.HasDiffuse) {
    glEnableVertexAttribArray(VertexAttribute::Diffuse);
    glVertexAttribPointer(VertexAttribute::Diffuse, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, at(FLayout.DiffuseOffset));
  }
  if (FLayout.HasSpecular) {
    glEnableVertexAttribArray(VertexAttribute::Specular);
    glVertexAttribPointer(VertexAttribute::Specular, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          at(FLayout.SpecularOffset));
  }
  for (int i = 0; i < FLayout.TexSets; ++i) {
    glEnableVertexAttribArray(VertexAttribute::FirstTexture + GLuint(i));
    glVertexAttribPointer(VertexAttribute::FirstTexture + GLuint(i), 2, GL_FLOAT, GL_FALSE, stride,
                          at(FLayout.TexOffset + 8 * i));
  }
  glBindVertexArray(0);
}

bool T3DVertexListGL::Draw() {
  const int count = VerticesOfPrimitives(FType, FPrimitiveCount);
  if (FFirstVertex < 0 || FFirstVertex + count > FVertexCount) return false;
  if (!FBuffer) MakeBuffers();
  glBindBuffer(GL_ARRAY_BUFFER, FBuffer);
  if (FDirtyFirst < FDirtyEnd) {
    const size_t stride = size_t(FLayout.Stride);
    glBufferSubData(GL_ARRAY_BUFFER, GLintptr(FDirtyFirst * stride), GLsizeiptr((FDirtyEnd - FDirtyFirst) * stride),
                    FBytes.data() + FDirtyFirst * stride);
    FDirtyFirst = FVertexCount;
    FDirtyEnd = 0;
  }
  glBindVertexArray(FArray);
  // Components the layout lacks read as a white diffuse and a black specular colour.
  if (!FLayout.HasDiffuse) glVertexAttrib4f(VertexAttribute::Diffuse, 1, 1, 1, 1);
  if (!FLayout.HasSpecular) glVertexAttrib4f(VertexAttribute::Specular, 0, 0, 0, 0);
  for (int i = FLayout.TexSets; i < kMaxTextureSets; ++i)
    glVertexAttrib4f(VertexAttribute::FirstTexture + GLuint(i), 0, 0, 0, 1);
  if (count > 0) glDrawArrays(PrimitiveMode(FType), FFirstVertex, count);
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  return true;
}

void T3DVertexListGL::StoreGone() {
  FStore = nullptr;
  FBuffer = 0;
  FArray = 0;
}

}  // namespace kiv
