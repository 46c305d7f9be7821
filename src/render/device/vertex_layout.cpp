#include "render/device/vertex_layout.h"

#include "base/errors.h"
#include "render/device/vertex_3d.h"
#include "render/device/vertex_list_3d.h"

namespace kiv {

TVertexLayout MakeVertexLayout(uint32_t options, int textureSets) {
  KIV_ASSERT(textureSets >= 0 && textureSets <= kMaxTextureSets);
  TVertexLayout layout;
  layout.FormatCode = VertexFormat::Xyz;
  int offset = 12;
  layout.HasNormal = (options & VertexOption::Normal) != 0;
  if (layout.HasNormal) {
    layout.FormatCode |= VertexFormat::Normal;
    layout.NormalOffset = offset;
    offset += 12;
  }
  layout.HasDiffuse = (options & VertexOption::Diffuse) != 0;
  if (layout.HasDiffuse) {
    layout.FormatCode |= VertexFormat::Diffuse;
    layout.DiffuseOffset = offset;
    offset += 4;
  }
  layout.HasSpecular = (options & VertexOption::Specular) != 0;
  if (layout.HasSpecular) {
    layout.FormatCode |= VertexFormat::Specular;
    layout.SpecularOffset = offset;
    offset += 4;
  }
  layout.TexSets = textureSets;
  layout.TexOffset = offset;
  layout.FormatCode |= uint32_t(textureSets) << VertexFormat::TexCountShift;
  layout.Stride = offset + 8 * textureSets;
  return layout;
}

}  // namespace kiv
