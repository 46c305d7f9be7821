#pragma once
// The picture shown in place of one that is missing or cannot be decoded.
#include <memory>
#include <string_view>

#include "graphics/bitmap_store.h"

namespace kiv {

// A picture naming what is wrong: "Image not found:" (or "Image load error:" when the
// file opened but did not decode; "Video ..." for video clips), the file name, "Path:"
// and the folder. Drawn in opaque yellow on opaque blue; the four lines of text come
// once vector text exists, until then the picture shows the two colours only.
std::shared_ptr<TBitmapStore> MakePlaceholderPicture(std::u16string_view name, bool couldBeOpened, bool isVideo);

}  // namespace kiv
