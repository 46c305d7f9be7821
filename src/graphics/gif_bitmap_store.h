#pragma once
// GIF pictures: opening keeps the file in memory and reads its block structure, so the
// store knows the strip size and, for an animation, its tiles tag at once; the frames
// decode into the strip at the first request for level 0, the only level it makes.
#include <memory>
#include <string_view>
#include <vector>

#include "base/stream.h"
#include "graphics/bitmap_store.h"
#include "graphics/gif_layout.h"

namespace kiv {

class TGifBitmapStore : public TBitmapStore {
 public:
  // Bgra32, frame count × logical width by logical height.
  TGifBitmapStore(std::vector<uint8_t> data, TGifLayout layout);
  const char* ClassName() const override { return "TGifBitmapStore"; }

 protected:
  std::unique_ptr<TBitmap> DecodeLevel(int level) override;

 private:
  std::vector<uint8_t> FData;
  TGifLayout FLayout;
};

// Frame durations (delay × 10 ms, 50 ms for a delay of 0) and layout of an animation.
TTilesTag GifTilesTag(const TGifLayout& layout);

// The loader for GIF files: a store (with a tiles tag when there is more than one
// frame), or null (stream position kept) when the data is not a GIF or is refused.
std::shared_ptr<TBitmapStore> LoadGifPicture(TStream& stream, std::u16string_view fileName);

}  // namespace kiv
