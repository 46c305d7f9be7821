#pragma once
// The picture of a button: the nine parts of one look of its skin laid out to the
// button's size. Corners keep their size, the edges stretch along the sides between
// them and the centre fills the middle.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "base/rect.h"
#include "graphics/bitmap.h"
#include "model/button_skin.h"

namespace kiv {

// The size the parts make at their own size: the widest of the three rows of parts and
// the highest of the three columns. Parts with negative extents count as empty.
TPixelSize NaturalSize(const TButtonSkinState& state);

// The picture a part names, as 32-bit pixels, or none.
using TSkinPictureSource = std::function<std::shared_ptr<const TBitmap>(std::u16string_view name)>;

// state's parts laid out on a transparent 32-bit picture of size (which must be a
// picture size the player allocates). Parts whose picture is missing, or whose
// rectangle lies outside it or is empty, leave their place transparent.
std::unique_ptr<TBitmap> ComposeButtonPicture(const TButtonSkinState& state, TPixelSize size,
                                              const TSkinPictureSource& pictures);

}  // namespace kiv
