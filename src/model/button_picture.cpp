#include "model/button_picture.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/rect.h"

namespace kiv {

namespace {

int64_t PartWidth(const TButtonSkinState& state, TSkinPart part) { return std::max(state.Piece(part).Width(), 0); }
int64_t PartHeight(const TButtonSkinState& state, TSkinPart part) { return std::max(state.Piece(part).Height(), 0); }

int32_t Clamped(int64_t value) { return int32_t(std::clamp<int64_t>(value, 0, kMaxPictureSide)); }

struct TPlacedPart {
  TSkinPart Part;
  TRect Target;
};

// Where each part goes in a picture of width w and height h, drawn in this order so
// that corners lie on top should odd parts overlap.
std::array<TPlacedPart, 9> Layout(const TButtonSkinState& s, int32_t w, int32_t h) {
  using enum TSkinPart;
  const auto width = [&s](TSkinPart part) { return Clamped(PartWidth(s, part)); };
  const auto height = [&s](TSkinPart part) { return Clamped(PartHeight(s, part)); };
  return {{
      {Center, {width(Left), height(Top), w - width(Right), h - height(Bottom)}},
      {Top, {width(LeftTop), 0, w - width(RightTop), height(Top)}},
      {Bottom, {width(LeftBottom), h - height(Bottom), w - width(RightBottom), h}},
      {Left, {0, height(LeftTop), width(Left), h - height(LeftBottom)}},
      {Right, {w - width(Right), height(RightTop), w, h - height(RightBottom)}},
      {LeftTop, {0, 0, width(LeftTop), height(LeftTop)}},
      {RightTop, {w - width(RightTop), 0, w, height(RightTop)}},
      {LeftBottom, {0, h - height(LeftBottom), width(LeftBottom), h}},
      {RightBottom, {w - width(RightBottom), h - height(RightBottom), w, h}},
  }};
}

// Copies source rectangle from of picture onto target of canvas, stretched by picking
// the nearest pixel; only the part of target inside the canvas is written.
void StretchPart(const TBitmap& picture, const TRect& from, TBitmap& canvas, const TRect& target) {
  const TRect visible = Intersection(target, {0, 0, canvas.Width(), canvas.Height()});
  for (int32_t y = visible.Top; y < visible.Bottom; ++y) {
    const int32_t sourceY = from.Top + int32_t(int64_t(y - target.Top) * from.Height() / target.Height());
    const uint8_t* sourceRow = picture.Row(sourceY);
    uint8_t* row = canvas.Row(y);
    for (int32_t x = visible.Left; x < visible.Right; ++x) {
      const int32_t sourceX = from.Left + int32_t(int64_t(x - target.Left) * from.Width() / target.Width());
      std::memcpy(row + size_t(x) * 4, sourceRow + size_t(sourceX) * 4, 4);
    }
  }
}

}  // namespace

TPixelSize NaturalSize(const TButtonSkinState& state) {
  using enum TSkinPart;
  const auto rowWidth = [&state](TSkinPart a, TSkinPart b, TSkinPart c) {
    return PartWidth(state, a) + PartWidth(state, b) + PartWidth(state, c);
  };
  const auto columnHeight = [&state](TSkinPart a, TSkinPart b, TSkinPart c) {
    return PartHeight(state, a) + PartHeight(state, b) + PartHeight(state, c);
  };
  return {Clamped(std::max({rowWidth(LeftTop, Top, RightTop), rowWidth(Left, Center, Right),
                            rowWidth(LeftBottom, Bottom, RightBottom)})),
          Clamped(std::max({columnHeight(LeftTop, Left, LeftBottom), columnHeight(Top, Center, Bottom),
                            columnHeight(RightTop, Right, RightBottom)}))};
}

std::unique_ptr<TBitmap> ComposeButtonPicture(const TButtonSkinState& state, TPixelSize size,
                                              const TSkinPictureSource& pictures) {
  auto canvas = std::make_unique<TBitmap>(size.Width, size.Height, TPixelFormat::Bgra32);
  for (const TPlacedPart& placed : Layout(state, size.Width, size.Height)) {
    const TSkinPiece& piece = state.Piece(placed.Part);
    if (placed.Target.IsEmpty() || piece.PictureName.empty()) continue;
    const std::shared_ptr<const TBitmap> picture = pictures(piece.PictureName);
    if (!picture || picture->Format() != TPixelFormat::Bgra32) continue;
    const TRect from{piece.X1, piece.Y1, piece.X2, piece.Y2};
    if (from.IsEmpty() || Intersection(from, {0, 0, picture->Width(), picture->Height()}) != from) continue;
    StretchPart(*picture, from, *canvas, placed.Target);
  }
  return canvas;
}

}  // namespace kiv
