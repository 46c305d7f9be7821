#pragma once
// The graphics container loader (".zqgfx", and the first one tried for ".bmp", ".dib",
// ".png" and ".gif" names, under which the show container keeps converted pictures).
// Opening reads the header and copies the packed payload into memory; the store is
// 32-bit at the size the header gives. The first request for level 0 inflates the
// payload and decodes it as a BMP file; when that fails, or the BMP is not of the
// announced size, the picture is opaque green instead. Only level 0 exists.
#include <memory>
#include <string_view>

#include "base/stream.h"
#include "graphics/bitmap_store.h"

namespace kiv {

// A store over the graphics container at the stream's position, or null (stream
// position restored) when it is not one or its header or payload is incomplete.
std::shared_ptr<TBitmapStore> LoadGraphicsContainer(TStream& stream, std::u16string_view fileName);

}  // namespace kiv
