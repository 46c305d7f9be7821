#pragma once
// The picture of a GIF file: one cell of the logical screen's size per frame, side by
// side (a still picture is a strip of one cell). Each frame is drawn at its offset in
// its own cell; then the cell's transparent pixels are taken from a reference cell
// chosen by the previous frame's disposal:
// - 0, 1 (and undefined values): the previous cell;
// - 2 (restore background): the previous cell, except inside the previous frame's
//   rectangle, which stays transparent;
// - 3 (restore previous): the cell of the latest frame whose disposal was 1, or nothing.
// The first frame takes nothing.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "graphics/bitmap.h"
#include "graphics/gif_layout.h"

namespace kiv {

// A Bgra32 strip, frame count × logical width by logical height; data is the whole file
// the layout was read from. Damaged pixel data leaves the rest of its frame transparent.
// Progress gets the fraction of frames done.
std::unique_ptr<TBitmap> BuildGifStrip(std::span<const uint8_t> data, const TGifLayout& layout,
                                       const std::function<void(double)>& progress);

}  // namespace kiv
