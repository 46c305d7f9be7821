#pragma once
// Makes the "Mask: " pictures of a show: the picture named after the prefix (a show
// file or a generated "PresetedMask: " shape), read as a mask. A picture with transparency masks by its alpha; an opaque one by its
// brightness, so that a white shape on black works as well as a cut-out.
#include <memory>

#include "graphics/bitmap.h"

namespace kiv {

class TKivSlideHost;

// White pixels whose alpha is the mask value of each pixel of picture (32 bits).
std::unique_ptr<TBitmap> MaskOfPicture(const TBitmap& picture);

// Adds the provider to the file source of host's accessor (nothing without one).
void InstallMaskPictureProvider(TKivSlideHost& host);

}  // namespace kiv
