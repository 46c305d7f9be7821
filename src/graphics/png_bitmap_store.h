#pragma once
// PNG pictures: opening keeps the encoded data in memory and reads only the header; the
// pixels decode at the first request for level 0, the only level this store makes.
#include <memory>
#include <string_view>
#include <vector>

#include "base/stream.h"
#include "graphics/bitmap_store.h"
#include "graphics/png_decoder.h"

namespace kiv {

class TPngBitmapStore : public TBitmapStore {
 public:
  // Bgra32 for a picture with alpha or a transparent colour, Bgr24 otherwise.
  TPngBitmapStore(std::vector<uint8_t> data, const TPngHeader& header);
  const char* ClassName() const override { return "TPngBitmapStore"; }

 protected:
  // Damaged data gives the picture as far as it decodes; the rest stays empty.
  std::unique_ptr<TBitmap> DecodeLevel(int level) override;

 private:
  std::vector<uint8_t> FData;
};

// The loader for PNG files: a store, or null (stream position kept) when the data is
// not a PNG whose header reads and whose size is allowed.
std::shared_ptr<TBitmapStore> LoadPngPicture(TStream& stream, std::u16string_view fileName);

}  // namespace kiv
