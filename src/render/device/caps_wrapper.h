#pragma once
// The capabilities of one adapter, read once and then looked up by name.
#include <cstdint>
#include <string_view>

namespace kiv {

namespace RasterCaps {
inline constexpr uint32_t MipLodBias = 0x00002000;
inline constexpr uint32_t Anisotropy = 0x00020000;
}  // namespace RasterCaps

struct TCapsWrapper {
  uint32_t PixelShaderVersion = 0;  // 0xFFFF0000 | major << 8 | minor
  int MaxTextureWidth = 0;
  int MaxTextureHeight = 0;
  int MaxAnisotropy = 0;
  uint32_t RasterCaps = 0;
  uint32_t VendorId = 0;

  // By name ignoring case; 0 for a name not known.
  int ByName(std::string_view name) const;
};

}  // namespace kiv
