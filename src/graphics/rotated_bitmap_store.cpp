#include "graphics/rotated_bitmap_store.h"

#include <cstring>

#include "base/errors.h"

namespace kiv {

namespace {

constexpr int kHalfTurn = 3;
constexpr int kClockwise = 6;
constexpr int kCounterClockwise = 8;

bool TradesSides(int orientation) { return orientation == kClockwise || orientation == kCounterClockwise; }

// Moves every pixel of source (Bytes bytes each) to its turned place in target.
template <int Bytes>
void TurnPixels(const TBitmap& source, int orientation, TBitmap& target) {
  const int w = source.Width();
  const int h = source.Height();
  for (int y = 0; y < h; ++y) {
    const uint8_t* pixel = source.Row(y);
    for (int x = 0; x < w; ++x, pixel += Bytes) {
      int tx = y;  // counter-clockwise: the top row becomes the left column
      int ty = w - 1 - x;
      if (orientation == kHalfTurn) {
        tx = w - 1 - x;
        ty = h - 1 - y;
      } else if (orientation == kClockwise) {  // the top row becomes the right column
        tx = h - 1 - y;
        ty = x;
      }
      std::memcpy(target.Row(ty) + size_t(tx) * Bytes, pixel, Bytes);
    }
  }
}

std::unique_ptr<TBitmap> Turned(const TBitmap& source, int orientation) {
  const bool trade = TradesSides(orientation);
  auto target = std::make_unique<TBitmap>(trade ? source.Height() : source.Width(),
                                          trade ? source.Width() : source.Height(), source.Format());
  target->Palette() = source.Palette();
  target->SetMipLevel(source.MipLevel());
  switch (BytesPerPixel(source.Format())) {
    case 1: TurnPixels<1>(source, orientation, *target); break;
    case 2: TurnPixels<2>(source, orientation, *target); break;
    case 3: TurnPixels<3>(source, orientation, *target); break;
    default: TurnPixels<4>(source, orientation, *target); break;
  }
  return target;
}

}  // namespace

TRotatedBitmapStore::TRotatedBitmapStore(std::shared_ptr<TBitmapStore> inner, int orientation)
    : TBitmapStore(TradesSides(orientation) ? inner->Height() : inner->Width(),
                   TradesSides(orientation) ? inner->Width() : inner->Height(), inner->Format()),
      FInner(std::move(inner)),
      FOrientation(orientation) {
  KIV_ASSERT(orientation == kHalfTurn || TradesSides(orientation));
}

std::unique_ptr<TBitmap> TRotatedBitmapStore::DecodeLevel(int level) {
  if (level >= FInner->LevelCount()) return nullptr;
  const std::shared_ptr<const TBitmap> stored = FInner->GetMipLevel(level);
  return Turned(*stored, FOrientation);
}

std::shared_ptr<TBitmapStore> UprightBitmapStore(std::shared_ptr<TBitmapStore> inner, int orientation) {
  if (orientation != kHalfTurn && !TradesSides(orientation)) return inner;
  return std::make_shared<TRotatedBitmapStore>(std::move(inner), orientation);
}

}  // namespace kiv
