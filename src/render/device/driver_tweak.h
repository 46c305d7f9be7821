#pragma once
// Older display drivers of one vendor needed per-program values in their registry key,
// written at start and put back at exit. The decision stays; this system has no driver
// registry, so applying it only reports that the registry is absent.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

struct TDriverTweakValue {
  std::string Name;
  std::array<uint8_t, 4> Bytes;
};

// Only on NT 5.x, for a driver whose description names NVIDIA.
bool DriverTweakApplies(int ntMajorVersion, std::string_view deviceDescription);
// The values written for the program file exeFileName.
std::vector<TDriverTweakValue> DriverTweakValues(std::string_view exeFileName);

// Applied at start and undone at exit; both log "Display driver tweak: absent" here.
void ApplyDisplayDriverTweak();
void UndoDisplayDriverTweak();

}  // namespace kiv
