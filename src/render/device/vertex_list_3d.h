#pragma once
// A list of vertices on the device, drawn as one kind of primitive.
#include <cstdint>

#include "render/device/device_result.h"
#include "render/device/vertex_3d.h"

namespace kiv {

enum class TPrimitiveType : uint8_t {
  PointList = 0,
  LineList = 1,
  LineStrip = 2,
  TriangleList = 3,
  TriangleStrip = 4,
  TriangleFan = 5,
};

// Vertex options beside the position, which every vertex has.
namespace VertexOption {
inline constexpr uint32_t Diffuse = 1;
inline constexpr uint32_t Normal = 2;
inline constexpr uint32_t Specular = 4;
}  // namespace VertexOption

class T3DVertexList : public T3DResultHolder {
 public:
  virtual ~T3DVertexList() = default;

  // What the next draw of the list covers.
  virtual bool SetDrawRange(int firstVertex, int primitiveCount, TPrimitiveType type) = 0;
  // Copies count records from vertices[firstInput] on into the list from firstVertex on.
  // The copy stays in memory and reaches the device at the next draw, so any thread may fill.
  virtual bool Fill(int firstVertex, const T3DVertex* vertices, int count, int firstInput) = 0;
  virtual int VertexCount() const = 0;
};

}  // namespace kiv
