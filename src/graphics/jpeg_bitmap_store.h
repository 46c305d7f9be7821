#pragma once
// JPEG pictures: opening keeps the encoded data in memory and reads only the header;
// each level decodes straight at its reduced size through the DCT scaling (level n at
// 1 / 2^n), so small levels never pay for a full-size decode.
#include <memory>
#include <string_view>
#include <vector>

#include "base/stream.h"
#include "graphics/bitmap_store.h"
#include "graphics/jpeg_decoder.h"

namespace kiv {

class TJpegBitmapStore : public TBitmapStore {
 public:
  // Single-component pictures are Indexed8 with a grey palette, all others Bgr24.
  TJpegBitmapStore(std::vector<uint8_t> data, const TJpegHeader& header);
  int LevelCount() const override { return kMaxMipLevel + 1; }
  const char* ClassName() const override { return "TJpegBitmapStore"; }

 protected:
  // Damaged data gives the picture as far as it decodes; the rest stays black.
  std::unique_ptr<TBitmap> DecodeLevel(int level) override;

 private:
  std::vector<uint8_t> FData;
};

// The loader for JPEG files: a store, or null (stream position kept) when the data is
// not a JPEG whose header reads, whose size is allowed and whose colour layout is known.
std::shared_ptr<TBitmapStore> LoadJpegPicture(TStream& stream, std::u16string_view fileName);

}  // namespace kiv
