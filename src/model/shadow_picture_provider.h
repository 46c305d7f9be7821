#pragma once
// Makes the "Shadow: " pictures of a show: the caster's alpha (a picture of the show,
// or a plain box) as a mask with a border around it, blurred, shaped by the spread
// tone curve and coloured.
#include <memory>

#include "graphics/bitmap.h"
#include "model/shadow_picture_name.h"

namespace kiv {

class TKivSlideHost;

// The spread tone curve for a blurred mask value t (0 … 1). Index 0 keeps t; index
// n > 0 spreads the shadow, 1 − (1 − t)^(n + 1), so that its soft edge reaches further;
// index n < 0 tightens it, t^(1 − n).
float SpreadTone(float t, int32_t spreadIndex);

// The shadow of key in 32 bits (layout width and height plus the border on each side):
// the key's colour at its alpha times the mask value. caster is the caster's full-size
// picture; none for a box. None when the caster's cell lies outside the caster.
std::unique_ptr<TBitmap> MakeShadowPicture(const TShadowPictureKey& key, const TBitmap* caster);

// Adds the provider to the file source of host's accessor (nothing without one).
void InstallShadowPictureProvider(TKivSlideHost& host);

}  // namespace kiv
