// Feeds arbitrary bytes to the BMP loader as a file; every store it makes is decoded at
// level 0 and converted to 32-bit, and must give a picture of the size it announced.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/memory_stream.h"
#include "graphics/bmp_loader.h"

namespace {

// Larger pictures are allowed but only cost time here: a few header bytes announce them.
constexpr int64_t kLargestDecodedPixels = 4 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kiv::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  const std::shared_ptr<kiv::TBitmapStore> store = kiv::LoadBmpPicture(stream, u"fuzz.bmp");
  if (!store || int64_t(store->Width()) * store->Height() > kLargestDecodedPixels) return 0;
  const std::shared_ptr<const kiv::TBitmap> picture = store->GetMipLevel(0, kiv::TPixelFormat::Bgra32);
  if (!picture || picture->Width() != store->Width() || picture->Height() != store->Height()) std::abort();
  return 0;
}
