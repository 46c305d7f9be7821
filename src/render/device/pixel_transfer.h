#pragma once
// Pixels between program bitmaps and the device. The device keeps colours as R, G, B, A
// bytes with the top row first; program bitmaps keep B, G, R, A.
#include <cstdint>
#include <vector>

#include "graphics/bitmap.h"

namespace kiv {

// Rows of a Bgra32 bitmap as packed R, G, B, A bytes.
std::vector<uint8_t> BgraToDeviceRgba(const TBitmap& bitmap);

// Packed R, G, B, A rows read from the device into target (same size), converted to its
// format: Bgra32 (alpha forced to 255 when opaque), Bgr24, Rgb565, or Indexed8 from the
// red byte.
void DeviceRgbaToBitmap(const uint8_t* rgba, bool opaque, TBitmap& target);

}  // namespace kiv
