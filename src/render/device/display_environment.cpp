#include "render/device/display_environment.h"

#include <cstring>

namespace kiv {

namespace {
constexpr uint32_t kIntelVendor = 0x8086;
}

bool DesktopCompositionEnabled() { return false; }

bool ExclusiveModeAllowed(bool compositionEnabled, bool showForbidsExclusive) {
  return !compositionEnabled && !showForbidsExclusive;
}

int SwapIntervalFor(bool windowed, bool compositionEnabled, TPresentIntervalMode mode) {
  if (windowed && compositionEnabled) return 1;
  return mode == TPresentIntervalMode::Immediate ? 0 : 1;
}

int ShaderLevel(uint32_t pixelShaderVersion, uint32_t vendorId) {
  const uint32_t version = pixelShaderVersion & 0xFFFF;
  if (version < 0x200) return 0;
  if (vendorId == kIntelVendor) return version >= 0x300 ? 2 : 1;
  return 2;
}

uint32_t VendorIdFromName(const char* text) {
  if (!text) return 0;
  if (std::strstr(text, "Intel")) return kIntelVendor;
  if (std::strstr(text, "NVIDIA")) return 0x10DE;
  if (std::strstr(text, "AMD") || std::strstr(text, "ATI ")) return 0x1002;
  return 0;
}

}  // namespace kiv
