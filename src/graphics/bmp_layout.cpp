#include "graphics/bmp_layout.h"

#include <algorithm>

#include "graphics/bitmap.h"

namespace kiv {

namespace {

constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kRle8Compression = 1;
constexpr uint32_t kRle4Compression = 2;
constexpr uint32_t kBitFields = 3;

constexpr int64_t kCoreHeaderSize = 12;  // the oldest info header: 16-bit sizes, 3-byte palette entries
constexpr int64_t kInfoHeaderSize = 40;
constexpr int64_t kMaskBytes = 12;  // red, green and blue masks

uint32_t U16(std::span<const uint8_t> bytes, size_t at) { return uint32_t(bytes[at] | (bytes[at + 1] << 8)); }
uint32_t U32(std::span<const uint8_t> bytes, size_t at) { return U16(bytes, at) | (U16(bytes, at + 2) << 16); }
int32_t I32(std::span<const uint8_t> bytes, size_t at) { return int32_t(U32(bytes, at)); }

struct TMasks {
  uint32_t Red, Green, Blue;
  bool operator==(const TMasks&) const = default;
};

// The encoding of a depth and compression, or nothing when refused. masks are those
// of a bit-field file.
std::optional<TBmpEncoding> EncodingOf(uint32_t bits, uint32_t compression, const TMasks& masks) {
  switch (bits) {
    case 1:
      if (compression == kUncompressed) return TBmpEncoding::Palette;
      break;
    case 4:
      if (compression == kUncompressed) return TBmpEncoding::Palette;
      if (compression == kRle4Compression) return TBmpEncoding::Rle4;
      break;
    case 8:
      if (compression == kUncompressed) return TBmpEncoding::Palette;
      if (compression == kRle8Compression) return TBmpEncoding::Rle8;
      break;
    case 16:
      if (compression == kUncompressed || (compression == kBitFields && masks == TMasks{0x7C00, 0x03E0, 0x001F}))
        return TBmpEncoding::Rgb555;
      if (compression == kBitFields && masks == TMasks{0xF800, 0x07E0, 0x001F}) return TBmpEncoding::Rgb565;
      break;
    case 24:
      if (compression == kUncompressed) return TBmpEncoding::Bgr24;
      break;
    case 32:
      if (compression == kUncompressed || (compression == kBitFields && masks == TMasks{0xFF0000, 0xFF00, 0xFF}))
        return TBmpEncoding::Bgra32;
      break;
  }
  return std::nullopt;
}

bool UsesPalette(TBmpEncoding encoding) {
  return encoding == TBmpEncoding::Palette || encoding == TBmpEncoding::Rle8 || encoding == TBmpEncoding::Rle4;
}

}  // namespace

TPixelFormat TBmpLayout::Format() const {
  switch (Encoding) {
    case TBmpEncoding::Rgb555: return TPixelFormat::Rgb555;
    case TBmpEncoding::Rgb565: return TPixelFormat::Rgb565;
    case TBmpEncoding::Bgra32: return TPixelFormat::Bgra32;
    default: return TPixelFormat::Bgr24;
  }
}

std::optional<int64_t> BmpFileSize(std::span<const uint8_t> header) {
  if (header.size() < size_t(kBmpFileHeaderSize) || header[0] != 'B' || header[1] != 'M') return std::nullopt;
  return int64_t(U32(header, 2));
}

std::optional<TBmpLayout> ReadBmpLayout(std::span<const uint8_t> file) {
  const std::optional<int64_t> fileSize = BmpFileSize(file);
  if (!fileSize || *fileSize > int64_t(file.size()) || *fileSize < kBmpFileHeaderSize + 4) return std::nullopt;
  file = file.first(size_t(*fileSize));

  const int64_t infoSize = U32(file, kBmpFileHeaderSize);
  const bool core = infoSize == kCoreHeaderSize;
  if ((!core && infoSize < kInfoHeaderSize) || kBmpFileHeaderSize + infoSize > *fileSize) return std::nullopt;
  constexpr size_t info = kBmpFileHeaderSize;
  // (each side converted on its own: a common unsigned type would lose the sign)
  const int64_t width = core ? int64_t(U16(file, info + 4)) : int64_t(I32(file, info + 4));
  const int64_t height = core ? int64_t(U16(file, info + 6)) : int64_t(I32(file, info + 8));
  const uint32_t bits = U16(file, info + (core ? 10 : 14));
  const uint32_t compression = core ? kUncompressed : U32(file, info + 16);
  const int64_t coloursUsed = core ? 0 : U32(file, info + 32);

  // Bit-field masks lie inside the newer headers, or follow the 40-byte one.
  int64_t headersEnd = kBmpFileHeaderSize + infoSize;
  TMasks masks{};
  if (compression == kBitFields) {
    if (infoSize == kInfoHeaderSize) headersEnd += kMaskBytes;
    if (kBmpFileHeaderSize + kInfoHeaderSize + kMaskBytes > headersEnd || headersEnd > *fileSize) return std::nullopt;
    constexpr size_t at = kBmpFileHeaderSize + kInfoHeaderSize;
    masks = {U32(file, at), U32(file, at + 4), U32(file, at + 8)};
  }

  const std::optional<TBmpEncoding> encoding = EncodingOf(bits, compression, masks);
  const int64_t rows = height < 0 ? -height : height;
  if (!encoding || !AllowedPictureSize(width, rows)) return std::nullopt;

  TBmpLayout layout;
  layout.Width = int(width);
  layout.Height = int(rows);
  layout.TopDown = height < 0;
  layout.BitsPerPixel = int(bits);
  layout.Encoding = *encoding;
  layout.FileSize = *fileSize;
  layout.DataOffset = U32(file, 10);
  layout.Stride = (width * bits + 31) / 32 * 4;
  if (layout.DataOffset < headersEnd || layout.DataOffset > *fileSize) return std::nullopt;
  const bool coded = *encoding == TBmpEncoding::Rle8 || *encoding == TBmpEncoding::Rle4;
  if (!coded && layout.DataOffset + layout.Stride * rows > *fileSize) return std::nullopt;

  if (UsesPalette(*encoding)) {
    // At most 2^bits entries, and only those that lie before the pixel data.
    const int64_t entrySize = core ? 3 : 4;
    const int64_t largest = int64_t(1) << bits;
    const int64_t announced = coloursUsed == 0 ? largest : std::min(coloursUsed, largest);
    const int64_t count = std::min(announced, (layout.DataOffset - headersEnd) / entrySize);
    layout.Palette.resize(size_t(count));
    for (int64_t i = 0; i < count; ++i) {
      const uint8_t* entry = file.data() + headersEnd + i * entrySize;
      layout.Palette[size_t(i)] = 0xFF000000u | uint32_t(entry[2]) << 16 | uint32_t(entry[1]) << 8 | entry[0];
    }
  }
  return layout;
}

}  // namespace kiv
