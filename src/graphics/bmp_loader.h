#pragma once
// The BMP picture loader (".bmp", ".dib"). Opening copies the file's bytes into memory
// and reads its headers, so the store knows size and pixel format at once; the pixels
// decode at the first request for level 0, the only level it makes.
#include <memory>
#include <string_view>

#include "base/stream.h"
#include "graphics/bitmap_store.h"

namespace kiv {

// A store over the BMP file at the stream's position, or null (stream position
// restored) when it is not one, is shorter than its header announces, or is refused.
std::shared_ptr<TBitmapStore> LoadBmpPicture(TStream& stream, std::u16string_view fileName);

}  // namespace kiv
