#include "render/device/driver_tweak.h"

#include "base/log.h"

namespace kiv {

bool DriverTweakApplies(int ntMajorVersion, std::string_view deviceDescription) {
  return ntMajorVersion == 5 && deviceDescription.find("NVIDIA") != std::string_view::npos;
}

std::vector<TDriverTweakValue> DriverTweakValues(std::string_view exeFileName) {
  const std::string prefix = "_" + std::string(exeFileName);
  return {{prefix + ":D3DOGL_67207556", {0, 0, 0, 0}},
          {prefix + ":D3DOGL_70835937", {0, 0, 0, 0}},
          {prefix + ":D3D_60461791", {0x92, 0x52, 0x92, 0x60}}};
}

void ApplyDisplayDriverTweak() { Log().Write("Display driver tweak: absent"); }

void UndoDisplayDriverTweak() { Log().Write("Display driver tweak: absent"); }

}  // namespace kiv
