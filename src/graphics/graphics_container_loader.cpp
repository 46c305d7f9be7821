#include "graphics/graphics_container_loader.h"

#include <limits>
#include <new>

#include "base/memory_stream.h"
#include "graphics/bitmap_convert.h"
#include "graphics/bmp_decoder.h"
#include "graphics/graphics_container_header.h"
#include "graphics/graphics_container_payload.h"

namespace kiv {

namespace {

// Room for the BMP headers, bit-field masks and a palette beside the pixel rows.
constexpr int64_t kBmpHeadersRoom = 65536;

class TGfxBitmapStore : public TBitmapStore {
 public:
  TGfxBitmapStore(const TGraphicsContainerHeader& header, std::unique_ptr<TMemoryStream> payload)
      : TBitmapStore(header.Width, header.Height, TPixelFormat::Bgra32), FPayload(std::move(payload)) {}
  const char* ClassName() const override { return "TGfxBitmapStore"; }

 protected:
  std::unique_ptr<TBitmap> DecodeLevel(int level) override {
    if (level != 0 || !FPayload) return nullptr;
    std::unique_ptr<TBitmap> bitmap = DecodePayload();
    FPayload.reset();  // decoded once: the cache keeps the picture
    return bitmap ? std::move(bitmap) : GreenPicture();
  }

 private:
  std::unique_ptr<TMemoryStream> FPayload;

  // The payload's picture in Bgra32, or null when it cannot be had at the announced size.
  std::unique_ptr<TBitmap> DecodePayload() const {
    // No BMP of this size is larger than a 32-bit one, so inflating stops beyond that.
    const int64_t limit = kBmpHeadersRoom + (int64_t(Width()) * 4) * Height();
    const std::optional<std::vector<uint8_t>> file = InflatePayload(FPayload->Bytes(), limit);
    if (!file) return nullptr;
    std::unique_ptr<TBitmap> bitmap = DecodeBmp(*file);
    if (!bitmap || bitmap->Width() != Width() || bitmap->Height() != Height()) return nullptr;
    return bitmap->Format() == TPixelFormat::Bgra32 ? std::move(bitmap) : ConvertBitmap(*bitmap, TPixelFormat::Bgra32);
  }

  std::unique_ptr<TBitmap> GreenPicture() const {
    auto bitmap = std::make_unique<TBitmap>(Width(), Height(), TPixelFormat::Bgra32);
    for (int y = 0; y < Height(); ++y) {
      uint8_t* pixel = bitmap->Row(y);
      for (int x = 0; x < Width(); ++x, pixel += 4) {
        pixel[0] = 0;
        pixel[1] = 255;
        pixel[2] = 0;
        pixel[3] = 255;
      }
    }
    return bitmap;
  }
};

std::shared_ptr<TBitmapStore> OpenGraphicsContainer(TStream& stream) {
  const std::optional<TGraphicsContainerHeader> header = ReadGraphicsContainerHeader(stream);
  if (!header) return nullptr;
  // The payload runs to the end of the stream; when its size is unknown, to where reading stops.
  const int64_t size = stream.GetSize();
  const int64_t announced = size >= 0 ? size - stream.GetPosition() : std::numeric_limits<int64_t>::max();
  auto payload = std::make_unique<TMemoryStream>();
  if (size >= 0) {
    payload->SetSize(announced);  // one allocation instead of growing piece by piece
    payload->SetPosition(0);
  }
  const int64_t copied = payload->CopyFrom(stream, announced);
  if (size >= 0 && copied != announced) return nullptr;
  return std::make_shared<TGfxBitmapStore>(*header, std::move(payload));
}

}  // namespace

std::shared_ptr<TBitmapStore> LoadGraphicsContainer(TStream& stream, std::u16string_view) {
  const int64_t start = stream.GetPosition();
  try {
    if (std::shared_ptr<TBitmapStore> store = OpenGraphicsContainer(stream)) return store;
  } catch (const EKivError&) {
    // a stream that ends or fails inside the container: not a picture
  } catch (const std::bad_alloc&) {
  }
  stream.SetPosition(start);
  return nullptr;
}

}  // namespace kiv
