#include "graphics/gif_strip.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/progress_hook.h"
#include "graphics/gif_lzw_reader.h"

namespace kiv {

namespace {

constexpr int kBytesPerPixel = 4;

struct TCellRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

// The part of the frame's rectangle that lies on the logical screen.
TCellRect VisibleRect(const TGifFrame& frame, const TGifLayout& layout) {
  TCellRect rect{frame.Left, frame.Top, std::min(frame.Left + frame.Width, layout.Width),
                 std::min(frame.Top + frame.Height, layout.Height)};
  rect.Right = std::max(rect.Right, rect.Left);
  rect.Bottom = std::max(rect.Bottom, rect.Top);
  return rect;
}

// The row of an interlaced frame that the sequence-th decoded row goes to: rows 0, 8,
// 16 …, then 4, 12 …, then 2, 6 …, then the odd rows.
int InterlacedRow(int sequence, int height) {
  static constexpr int kStart[] = {0, 4, 2, 1};
  static constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    const int rows = height > kStart[pass] ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
    if (sequence < rows) return kStart[pass] + sequence * kStep[pass];
    sequence -= rows;
  }
  return height;
}

// Blue, green, red, alpha per colour index; indices the table lacks are opaque black and
// the transparent one is not drawn at all.
using TGifPalette = std::array<std::array<uint8_t, kBytesPerPixel>, 256>;

TGifPalette FramePalette(std::span<const uint8_t> data, const TGifColourTable& table) {
  TGifPalette palette;
  palette.fill({0, 0, 0, 255});
  for (int index = 0; index < table.Count; ++index) {
    const uint8_t* rgb = data.data() + table.Offset + size_t(index) * 3;
    palette[size_t(index)] = {rgb[2], rgb[1], rgb[0], 255};
  }
  return palette;
}

void DrawFrame(std::span<const uint8_t> data, const TGifFrame& frame, const TGifLayout& layout, TBitmap& strip,
               int cell) {
  const TCellRect visible = VisibleRect(frame, layout);
  if (visible.Right == visible.Left || visible.Bottom == visible.Top) return;
  const TGifPalette palette = FramePalette(data, frame.Colours);
  TGifLzwReader lzw(data.subspan(frame.DataStart, frame.DataEnd - frame.DataStart), frame.MinCodeSize);
  std::vector<uint8_t> indices(size_t(frame.Width));
  for (int sequence = 0; sequence < frame.Height; ++sequence) {
    const int y = frame.Top + (frame.Interlaced ? InterlacedRow(sequence, frame.Height) : sequence);
    if (!frame.Interlaced && y >= visible.Bottom) break;  // every later row is off the screen too
    const size_t decoded = lzw.Read(indices.data(), indices.size());
    if (y >= visible.Top && y < visible.Bottom) {
      const int right = std::min(visible.Right, frame.Left + int(decoded));
      uint8_t* out = strip.Row(y) + (size_t(cell) * size_t(layout.Width) + size_t(visible.Left)) * kBytesPerPixel;
      for (int x = visible.Left; x < right; ++x, out += kBytesPerPixel) {
        const uint8_t index = indices[size_t(x - frame.Left)];
        if (index != frame.TransparentIndex) std::copy_n(palette[index].data(), kBytesPerPixel, out);
      }
    }
    if (decoded < indices.size()) break;
  }
}

// Gives every transparent pixel of cell `to` the pixel at the same place of cell `from`,
// except inside keepClear.
void FillTransparent(TBitmap& strip, int cellWidth, int to, int from, const TCellRect& keepClear) {
  for (int y = 0; y < strip.Height(); ++y) {
    uint8_t* target = strip.Row(y) + size_t(to) * size_t(cellWidth) * kBytesPerPixel;
    const uint8_t* source = strip.Row(y) + size_t(from) * size_t(cellWidth) * kBytesPerPixel;
    for (int x = 0; x < cellWidth; ++x, target += kBytesPerPixel, source += kBytesPerPixel)
      if (target[3] == 0 && !keepClear.Contains(x, y)) std::copy_n(source, kBytesPerPixel, target);
  }
}

}  // namespace

std::unique_ptr<TBitmap> BuildGifStrip(std::span<const uint8_t> data, const TGifLayout& layout,
                                       const std::function<void(double)>& progress) {
  const int cells = int(layout.Frames.size());
  auto strip = std::make_unique<TBitmap>(cells * layout.Width, layout.Height, TPixelFormat::Bgra32);
  int lastKept = -1;  // the latest cell whose frame asked to be kept (disposal 1)
  for (int cell = 0; cell < cells; ++cell) {
    DrawFrame(data, layout.Frames[size_t(cell)], layout, *strip, cell);
    if (cell > 0) {
      const TGifFrame& previous = layout.Frames[size_t(cell) - 1];
      if (previous.Disposal == 2)
        FillTransparent(*strip, layout.Width, cell, cell - 1, VisibleRect(previous, layout));
      else if (previous.Disposal == 3) {
        if (lastKept >= 0) FillTransparent(*strip, layout.Width, cell, lastKept, {});
      } else
        FillTransparent(*strip, layout.Width, cell, cell - 1, {});
    }
    if (layout.Frames[size_t(cell)].Disposal == 1) lastKept = cell;
    progress(double(cell + 1) / cells);
    if (ProgressHook()) break;  // the program is stopping: the rest stays transparent
  }
  return strip;
}

}  // namespace kiv
