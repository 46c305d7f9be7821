#pragma once
// The picture shown in place of one that is missing or cannot be decoded.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/bitmap_store.h"

namespace kiv {

// The four lines the placeholder says: "Image not found:" (or "Image load error:" when
// the file opened but did not decode; "Video ..." for video clips), the file name,
// "Path:" and the folder (names split at "\" and "/" alike).
std::vector<std::u16string> PlaceholderLines(std::u16string_view name, bool couldBeOpened, bool isVideo);

// A picture of those lines in opaque yellow on opaque blue inside a yellow frame, drawn
// from the installed fonts (the frame alone when no font can be opened).
std::shared_ptr<TBitmapStore> MakePlaceholderPicture(std::u16string_view name, bool couldBeOpened, bool isVideo);

}  // namespace kiv
