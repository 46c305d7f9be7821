#include "graphics/png_bitmap_store.h"

#include <cstdint>

#include "base/log.h"
#include "base/progress_hook.h"
#include "graphics/picture_stream_bytes.h"

namespace kiv {

namespace {
constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
}

TPngBitmapStore::TPngBitmapStore(std::vector<uint8_t> data, const TPngHeader& header)
    : TBitmapStore(header.Width, header.Height, header.HasAlpha ? TPixelFormat::Bgra32 : TPixelFormat::Bgr24),
      FData(std::move(data)) {}

std::unique_ptr<TBitmap> TPngBitmapStore::DecodeLevel(int level) {
  if (level != 0) return nullptr;
  auto bitmap = std::make_unique<TBitmap>(Width(), Height(), Format());
  if (!DecodePng(FData, *bitmap)) Log().Write("TPngBitmapStore: damaged PNG data, decoded in part");
  ReportProgress(1.0);
  // The encoded data is not needed once the only level exists (unless the decoding was
  // cut short and must be made again).
  if (ProgressMode() != TProgressMode::Stop) std::vector<uint8_t>().swap(FData);
  return bitmap;
}

std::shared_ptr<TBitmapStore> LoadPngPicture(TStream& stream, std::u16string_view) {
  if (!StreamStartsWith(stream, kPngSignature)) return nullptr;
  const int64_t position = stream.GetPosition();
  std::vector<uint8_t> data = ReadRemainingBytes(stream);
  const std::optional<TPngHeader> header = ReadPngHeader(data);
  if (!header) {
    stream.SetPosition(position);
    return nullptr;
  }
  return std::make_shared<TPngBitmapStore>(std::move(data), *header);
}

}  // namespace kiv
