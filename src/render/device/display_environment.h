#pragma once
// Choices that depend on the desktop around the player: exclusive full screen, the
// presentation interval, the shader level of an adapter. Desktop composition is a
// service this system does not have; it counts as off.
#include <cstdint>

namespace kiv {

enum class TPresentIntervalMode : uint8_t { Default = 0, Immediate = 1, One = 2 };

// Always false here: there is no composition service to ask.
bool DesktopCompositionEnabled();

// Exclusive full screen unless composition is on or the show forbids it.
bool ExclusiveModeAllowed(bool compositionEnabled, bool showForbidsExclusive);

// The swap interval of a renderer: 1 waits for the display's refresh, 0 does not.
// A window on a composing desktop always takes the default interval.
int SwapIntervalFor(bool windowed, bool compositionEnabled, TPresentIntervalMode mode);

// From the pixel shader version (major in bits 8..15, minor in bits 0..7) and the PCI
// vendor: 0 below 2.0; 1 or 2 for Intel by whether 3.0 is reached; 2 otherwise.
int ShaderLevel(uint32_t pixelShaderVersion, uint32_t vendorId);

// The PCI vendor number named in a driver's vendor or renderer text, 0 when unknown.
uint32_t VendorIdFromName(const char* text);

}  // namespace kiv
