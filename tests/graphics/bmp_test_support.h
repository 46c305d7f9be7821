#pragma once
// Helpers shared by the BMP and graphics-container tests: source pictures, BMP files
// written by ImageMagick or by hand, hand-made graphics containers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "base/memory_stream.h"
#include "graphics/bitmap_convert.h"
#include "graphics/bitmap_store.h"
#include "graphics/picture_loaders.h"
#include "support/bytes.h"
#include "support/pixels.h"

namespace kiv::test {

namespace fs = std::filesystem;

// A picture as 0xAARRGGBB values, rows top-down.
struct TArgbPicture {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
};

// A width × height picture that uses exactly colours distinct colours (alpha as given).
inline TArgbPicture PatternPicture(int width, int height, int colours, uint32_t alpha = 0xFF) {
  TArgbPicture picture{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t k = uint32_t(x * 3 + y * 5) % uint32_t(colours);
      const uint32_t rgb = (k * 0x9E3779B9u) >> 8;
      picture.Pixels.push_back(alpha << 24 | rgb);
    }
  return picture;
}

// Whether every channel of bitmap (any format, converted) is within tolerance of picture.
inline ::testing::AssertionResult LooksLike(const TBitmap& bitmap, const TArgbPicture& picture, int tolerance = 0) {
  if (bitmap.Width() != picture.Width || bitmap.Height() != picture.Height)
    return ::testing::AssertionFailure() << "size " << bitmap.Width() << "x" << bitmap.Height();
  const std::unique_ptr<TBitmap> bgra = ConvertBitmap(bitmap, TPixelFormat::Bgra32);
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x)
      for (int shift = 0; shift < 32; shift += 8) {
        const int got = int(PixelAt(*bgra, x, y) >> shift & 255);
        const int want = int(picture.At(x, y) >> shift & 255);
        if (std::abs(got - want) > tolerance)
          return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex
                                               << PixelAt(*bgra, x, y) << " not " << picture.At(x, y);
      }
  return ::testing::AssertionSuccess();
}

// The picture written by ImageMagick's convert with options into output (a file name
// with an optional format prefix such as "BMP3:"); empty when convert fails.
inline std::vector<uint8_t> ImageMagickFile(const TArgbPicture& picture, const std::string& options,
                                            const std::string& output) {
  const fs::path folder = fs::temp_directory_path() / ("kiv_bmp_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const fs::path raw = folder / "source.rgba";
  {
    std::ofstream out(raw, std::ios::binary);
    for (uint32_t argb : picture.Pixels) {
      const char rgba[4] = {char(argb >> 16), char(argb >> 8), char(argb), char(argb >> 24)};
      out.write(rgba, 4);
    }
  }
  const size_t colon = output.find(':');
  const fs::path target = folder / (colon == std::string::npos ? output : output.substr(colon + 1));
  const std::string prefix = colon == std::string::npos ? "" : output.substr(0, colon + 1);
  const std::string command = "convert -size " + std::to_string(picture.Width) + "x" +
                              std::to_string(picture.Height) + " -depth 8 rgba:'" + raw.string() + "' " + options +
                              " '" + prefix + target.string() + "'";
  const int status = std::system(command.c_str());
  std::vector<uint8_t> bytes = status == 0 ? FileBytes(target) : std::vector<uint8_t>();
  fs::remove_all(folder);
  return bytes;
}

inline void PutU16(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  bytes[at] = uint8_t(v);
  bytes[at + 1] = uint8_t(v >> 8);
}
inline void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  PutU16(bytes, at, v & 0xFFFF);
  PutU16(bytes, at + 2, v >> 16);
}
inline uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t at) {
  return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
         uint32_t(bytes[at + 3]) << 24;
}

// A BMP file with a 40-byte info header, the masks (when given) after it, then the
// palette (0xRRGGBB values) and data.
struct TBmpParts {
  int32_t Width = 1;
  int32_t Height = 1;
  uint16_t Bits = 24;
  uint32_t Compression = 0;
  std::vector<uint32_t> Masks;
  std::vector<uint32_t> Palette;
  std::vector<uint8_t> Data;
};

inline std::vector<uint8_t> HandMadeBmp(const TBmpParts& parts) {
  const size_t dataOffset = 14 + 40 + 4 * (parts.Masks.size() + parts.Palette.size());
  std::vector<uint8_t> bytes(dataOffset);
  bytes[0] = 'B';
  bytes[1] = 'M';
  PutU32(bytes, 2, uint32_t(dataOffset + parts.Data.size()));
  PutU32(bytes, 10, uint32_t(dataOffset));
  PutU32(bytes, 14, 40);
  PutU32(bytes, 18, uint32_t(parts.Width));
  PutU32(bytes, 22, uint32_t(parts.Height));
  PutU16(bytes, 26, 1);
  PutU16(bytes, 28, parts.Bits);
  PutU32(bytes, 30, parts.Compression);
  PutU32(bytes, 46, uint32_t(parts.Palette.size()));
  size_t at = 54;
  for (uint32_t v : parts.Masks) PutU32(bytes, (at += 4) - 4, v);
  for (uint32_t v : parts.Palette) PutU32(bytes, (at += 4) - 4, v);
  bytes.insert(bytes.end(), parts.Data.begin(), parts.Data.end());
  return bytes;
}

// A graphics container: "ZQGF", the fields as given, then the payload.
inline std::vector<uint8_t> GraphicsContainer(const std::vector<std::pair<std::string, std::string>>& fields,
                                              const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> bytes = {'Z', 'Q', 'G', 'F', uint8_t(fields.size()), uint8_t(fields.size() >> 8)};
  for (const auto& [key, value] : fields)
    for (const std::string* text : {&key, &value}) {
      bytes.push_back(uint8_t(text->size()));
      bytes.push_back(uint8_t(text->size() >> 8));
      bytes.insert(bytes.end(), text->begin(), text->end());
    }
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  return bytes;
}

// The level-0 picture in Bgra32 of the store a loader makes of bytes, or null.
inline std::shared_ptr<const TBitmap> LoadedPicture(TPictureLoader loader, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream(bytes);
  const std::shared_ptr<TBitmapStore> store = loader(stream, u"picture");
  return store ? store->GetMipLevel(0, TPixelFormat::Bgra32) : nullptr;
}

}  // namespace kiv::test
