// Feeds arbitrary bytes to the graphics-container loader, two ways: as a whole container
// (so the header and the deflate stream are attacked), and as a BMP file that is deflated
// into a container announcing the BMP's own size (so the BMP decoder behind the inflater
// is attacked). Every store is decoded at level 0 and converted to 32-bit, and must give
// a picture of the size it announced.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/memory_stream.h"
#include "graphics/bitmap.h"
#include "graphics/graphics_container_loader.h"

namespace {

// Larger pictures are allowed but only cost time here: a few header bytes announce them.
constexpr int64_t kLargestDecodedPixels = 4 << 20;

std::vector<uint8_t> RawDeflate(const uint8_t* data, size_t size) {
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> packed(deflateBound(&z, uLong(size)));
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = uInt(size);
  z.next_out = packed.data();
  z.avail_out = uInt(packed.size());
  deflate(&z, Z_FINISH);
  packed.resize(z.total_out);
  deflateEnd(&z);
  return packed;
}

int32_t Int32At(const uint8_t* bytes) {
  return int32_t(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
}

void AddText(std::vector<uint8_t>& bytes, const std::string& text) {
  bytes.push_back(uint8_t(text.size()));
  bytes.push_back(uint8_t(text.size() >> 8));
  bytes.insert(bytes.end(), text.begin(), text.end());
}

// A container whose header announces the size in the BMP's own header (1 × 1 when it
// has none that could be allocated).
std::vector<uint8_t> ContainerAround(const uint8_t* bmp, size_t size) {
  int64_t width = size >= 26 ? Int32At(bmp + 18) : 1;
  int64_t height = size >= 26 ? Int32At(bmp + 22) : 1;
  if (height < 0) height = -height;
  if (!kiv::AllowedPictureSize(width, height)) width = height = 1;
  std::vector<uint8_t> bytes = {'Z', 'Q', 'G', 'F', 4, 0};
  for (const std::string& text : {std::string("File"), std::string("fuzz.bmp"), std::string("Width"),
                                  std::to_string(width), std::string("Height"), std::to_string(height),
                                  std::string("OriginalSize"), std::to_string(size)})
    AddText(bytes, text);
  const std::vector<uint8_t> payload = RawDeflate(bmp, size);
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  kiv::TMemoryStream stream(data[0] & 1 ? ContainerAround(data + 1, size - 1)
                                        : std::vector<uint8_t>(data + 1, data + size));
  const std::shared_ptr<kiv::TBitmapStore> store = kiv::LoadGraphicsContainer(stream, u"fuzz.zqgfx");
  if (!store || int64_t(store->Width()) * store->Height() > kLargestDecodedPixels) return 0;
  const std::shared_ptr<const kiv::TBitmap> picture = store->GetMipLevel(0, kiv::TPixelFormat::Bgra32);
  if (!picture || picture->Width() != store->Width() || picture->Height() != store->Height()) std::abort();
  return 0;
}
