#pragma once
// Where an object's own picture lies in the slide space, as the drawer takes it.
#include "model/kiv_object.h"
#include "render/drawer/device_drawer.h"

namespace kiv {

// The quad of the object's own size at its current placement: its top-left corner at
// the centre offset from the pivot, its axes the object's axes times width and height.
TQuadPlace ObjectQuad(const TKivObject& object);

// Whether a size covers at least one own pixel each way; smaller objects are not drawn.
inline bool AtLeastOnePixel(TSizeF size) { return size.Width >= 1 && size.Height >= 1; }

}  // namespace kiv
