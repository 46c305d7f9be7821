#include "render/device/vertex_list_gl.h"

#include <algorithm>
#include <cmath>
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

bool T3DVertexListGL::OpaqueDiffuse() const {
  if (!FLayout.HasDiffuse) return true;
  const int count = VerticesOfPrimitives(FType, FPrimitiveCount);
  if (FFirstVertex < 0 || FFirstVertex + count > FVertexCount) return false;
  // Colours are stored as the bytes of 0xAARRGGBB: alpha is the fourth.
  for (int i = FFirstVertex; i < FFirstVertex + count; ++i)
    if (FBytes[size_t(i) * size_t(FLayout.Stride) + size_t(FLayout.DiffuseOffset) + 3] != 255) return false;
  return true;
}

namespace {

// v as a row vector times m.
std::array<float, 4> Times(const std::array<float, 4>& v, const TMatrix4& m) {
  std::array<float, 4> out{};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) out[size_t(i)] += v[size_t(j)] * m.M[j][i];
  return out;
}

bool Near(float a, float b, float tolerance) { return std::fabs(a - b) <= tolerance; }

}  // namespace

bool T3DVertexListGL::SamplesWithin(const std::array<TMatrix4, 3>& transforms, const TRect& viewport, int stage,
                                    int width, int height, const TRect& area) const {
  if (stage >= FLayout.TexSets || area.IsEmpty()) return false;
  const int count = VerticesOfPrimitives(FType, FPrimitiveCount);
  if (FFirstVertex < 0 || FFirstVertex + count > FVertexCount) return false;
  struct TCorner {
    float X, Y, W, U, V;
  };
  auto corner = [&](int index) {
    const uint8_t* bytes = FBytes.data() + size_t(index) * size_t(FLayout.Stride);
    std::array<float, 4> p{0, 0, 0, 1};
    std::memcpy(p.data(), bytes, 12);
    for (const TMatrix4& m : transforms) p = Times(p, m);
    float tex[2];
    std::memcpy(tex, bytes + FLayout.TexOffset + 8 * stage, 8);
    const float w = p[3] != 0 ? p[3] : 1;
    return TCorner{viewport.Left + (p[0] / w + 1) / 2 * float(viewport.Width()),
                   viewport.Top + (1 - p[1] / w) / 2 * float(viewport.Height()), p[3], tex[0] * float(width),
                   tex[1] * float(height)};
  };
  const float tolerance = 1.0f / 1024;
  auto within = [&](const TCorner& c) {
    return c.W > 0 && Near(c.X, std::round(c.X), tolerance) && Near(c.Y, std::round(c.Y), tolerance) &&
           c.U >= float(area.Left) - tolerance && c.U <= float(area.Right) + tolerance &&
           c.V >= float(area.Top) - tolerance && c.V <= float(area.Bottom) + tolerance;
  };
  auto triangle = [&](int a, int b, int c) {
    const TCorner p0 = corner(a), p1 = corner(b), p2 = corner(c);
    if (!within(p0) || !within(p1) || !within(p2)) return false;
    // One depth of view: the texture coordinates run linearly across the pixels.
    if (!Near(p1.W, p0.W, p0.W * tolerance) || !Near(p2.W, p0.W, p0.W * tolerance)) return false;
    const float e1x = p1.X - p0.X, e1y = p1.Y - p0.Y, e2x = p2.X - p0.X, e2y = p2.Y - p0.Y;
    const float det = e1x * e2y - e1y * e2x;
    if (std::fabs(det) < tolerance) return true;  // covers no pixel
    const float u1 = p1.U - p0.U, u2 = p2.U - p0.U, v1 = p1.V - p0.V, v2 = p2.V - p0.V;
    const float dudx = (u1 * e2y - u2 * e1y) / det, dudy = (u2 * e1x - u1 * e2x) / det;
    const float dvdx = (v1 * e2y - v2 * e1y) / det, dvdy = (v2 * e1x - v1 * e2x) / det;
    // A pixel centre lies half a pixel inside an edge on whole pixels, so at a scale of at
    // least one it samples at least half a texel inside area: a filter there weighs
    // nothing outside it.
    return Near(dudy, 0, tolerance) && Near(dvdx, 0, tolerance) && std::fabs(dudx) >= 1 - tolerance &&
           std::fabs(dvdy) >= 1 - tolerance;
  };
  const int first = FFirstVertex;
  switch (FType) {
    case TPrimitiveType::TriangleList:
      for (int i = 0; i < FPrimitiveCount; ++i)
        if (!triangle(first + 3 * i, first + 3 * i + 1, first + 3 * i + 2)) return false;
      return true;
    case TPrimitiveType::TriangleStrip:
      for (int i = 0; i < FPrimitiveCount; ++i)
        if (!triangle(first + i, first + i + 1, first + i + 2)) return false;
      return true;
    case TPrimitiveType::TriangleFan:
      for (int i = 0; i < FPrimitiveCount; ++i)
        if (!triangle(first, first + i + 1, first + i + 2)) return false;
      return true;
    default: return false;
  }
}

void T3DVertexListGL::StoreGone() {
  FStore = nullptr;
  FBuffer = 0;
  FArray = 0;
}

}  // namespace kiv
