#include "graphics/jpeg_bitmap_store.h"

#include <cstdint>

#include "base/log.h"
#include "graphics/picture_stream_bytes.h"

namespace kiv {

namespace {

constexpr uint8_t kStartOfImage[] = {0xFF, 0xD8, 0xFF};

bool KnownColourLayout(int components) { return components == 1 || components == 3 || components == 4; }

}  // namespace

TJpegBitmapStore::TJpegBitmapStore(std::vector<uint8_t> data, const TJpegHeader& header)
    : TBitmapStore(header.Width, header.Height, header.Components == 1 ? TPixelFormat::Indexed8 : TPixelFormat::Bgr24),
      FData(std::move(data)) {}

std::unique_ptr<TBitmap> TJpegBitmapStore::DecodeLevel(int level) {
  if (level < 0 || level > kMaxMipLevel) return nullptr;
  const int denominator = 1 << level;
  auto bitmap = std::make_unique<TBitmap>(JpegScaledSide(Width(), denominator), JpegScaledSide(Height(), denominator),
                                          Format());
  bitmap->SetMipLevel(level);
  if (!DecodeJpeg(FData, denominator, *bitmap, [this](double fraction) { ReportProgress(fraction); }))
    Log().WriteValue("TJpegBitmapStore: damaged JPEG data, decoded in part at level ", int64_t(level));
  ReportProgress(1.0);
  return bitmap;
}

std::shared_ptr<TBitmapStore> LoadJpegPicture(TStream& stream, std::u16string_view) {
  if (!StreamStartsWith(stream, kStartOfImage)) return nullptr;
  const int64_t position = stream.GetPosition();
  std::vector<uint8_t> data = ReadRemainingBytes(stream);
  const std::optional<TJpegHeader> header = ReadJpegHeader(data);
  if (!header || !AllowedPictureSize(header->Width, header->Height) || !KnownColourLayout(header->Components)) {
    stream.SetPosition(position);
    return nullptr;
  }
  return std::make_shared<TJpegBitmapStore>(std::move(data), *header);
}

}  // namespace kiv
