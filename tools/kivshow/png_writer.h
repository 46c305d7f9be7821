#pragma once
// Frames written as PNG files: 8-bit RGB, no time stamp or other chunk that would make
// two writes of the same frame differ.
#include <string>

#include "graphics/bitmap.h"

namespace kiv {

// Writes a Bgr24 or Bgra32 bitmap (alpha is dropped) to path; raises EKivError
// "<path>: ..." when the file cannot be written.
void WritePng(const TBitmap& frame, const std::string& path);

}  // namespace kiv
