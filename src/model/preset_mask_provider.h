#pragma once
// Makes the "PresetedMask: " pictures of a show: grey shapes, see graphics/preset_mask.h.
#include <memory>
#include <string_view>

#include "graphics/bitmap.h"

namespace kiv {

class TKivSlideHost;

// The grey shape a "PresetedMask: " name asks for; none for any other name or a shape
// that cannot be made. Making it stops, giving none, when the process-wide progress
// hook asks to stop.
std::unique_ptr<TBitmap> PresetMaskPicture(std::u16string_view name);

// Adds the provider to the file source of host's accessor (nothing without one).
void InstallPresetMaskProvider(TKivSlideHost& host);

}  // namespace kiv
