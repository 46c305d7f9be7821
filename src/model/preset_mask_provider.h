#pragma once
// Makes the "PresetedMask: " pictures of a show (grey shapes, see graphics/preset_mask.h)
// and the "Mask: PresetedMask: " pictures a mask object asks for when its ImageName is
// such a shape. The mask provider reads the picture after "Mask: " from the show's
// files only (the providers are asked one at a time, so one cannot ask the others),
// hence the masks of made shapes are made here as well.
namespace kiv {

class TKivSlideHost;

// Adds the provider to the file source of host's accessor (nothing without one). Making
// a picture stops, giving none, when the process-wide progress hook asks to stop.
void InstallPresetMaskProvider(TKivSlideHost& host);

}  // namespace kiv
