#include "graphics/png_bitmap_store.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "encoder_test_support.h"

namespace kiv {
namespace {

using test::DamagedCopies;
using test::DecodesEveryLevel;
using test::ImageMagickFile;
using test::LooksLike;
using test::PatternPicture;
using test::TArgbPicture;

std::shared_ptr<TBitmapStore> Open(const std::vector<uint8_t>& bytes) {
  TMemoryStream stream(bytes);
  return LoadPngPicture(stream, u"picture.png");
}

// Every second pixel of the pattern half transparent, every fifth fully.
TArgbPicture Translucent(TArgbPicture picture) {
  for (size_t i = 0; i < picture.Pixels.size(); ++i)
    if (i % 5 == 0)
      picture.Pixels[i] &= 0x00FFFFFF;
    else if (i % 2 == 0)
      picture.Pixels[i] = (picture.Pixels[i] & 0x00FFFFFF) | 0x80000000;
  return picture;
}

// Fully transparent pixels (colour bits 0, as a palette's transparent entry may be anything).
TArgbPicture Holes(TArgbPicture picture) {
  for (size_t i = 0; i < picture.Pixels.size(); i += 3) picture.Pixels[i] = 0x00000000;
  return picture;
}

TArgbPicture Grey(TArgbPicture picture) {
  for (uint32_t& argb : picture.Pixels) argb = (argb & 0xFF000000) | (argb & 0xFF) * 0x010101u;
  return picture;
}

TArgbPicture BlackAndWhite(int width, int height) {
  TArgbPicture picture{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.Pixels.push_back((x * 3 + y * 5) % 7 < 3 ? 0xFFFFFFFF : 0xFF000000);
  return picture;
}

TEST(PngLoaderTest, ColourTypesAndDepthsDecodeToBgrOrBgra) {
  struct TCase {
    const char* Name;
    TArgbPicture Picture;
    const char* Options;
    const char* Output;
    uint8_t ColourType;  // as written in the header
    uint8_t Depth;
    TPixelFormat Format;
    int Tolerance;
  };
  const TCase cases[] = {
      {"RGB", PatternPicture(41, 29, 300), "", "PNG24:p.png", 2, 8, TPixelFormat::Bgr24, 0},
      {"RGBA", Translucent(PatternPicture(41, 29, 300)), "", "PNG32:p.png", 6, 8, TPixelFormat::Bgra32, 0},
      {"palette", PatternPicture(41, 29, 20), "", "PNG8:p.png", 3, 8, TPixelFormat::Bgr24, 0},
      {"palette with tRNS", Holes(PatternPicture(41, 29, 20)), "", "PNG8:p.png", 3, 8, TPixelFormat::Bgra32, 0},
      {"grey", Grey(PatternPicture(41, 29, 300)), "-type Grayscale", "PNG:p.png", 0, 8, TPixelFormat::Bgr24, 0},
      {"black and white", BlackAndWhite(41, 29), "-type Bilevel", "PNG:p.png", 0, 1, TPixelFormat::Bgr24, 0},
      {"grey with alpha", Translucent(Grey(PatternPicture(41, 29, 300))), "-type GrayscaleAlpha", "PNG:p.png", 4, 8,
       TPixelFormat::Bgra32, 0},
      {"16-bit RGB", PatternPicture(41, 29, 300), "-depth 16", "PNG48:p.png", 2, 16, TPixelFormat::Bgr24, 1},
      {"16-bit RGBA", Translucent(PatternPicture(41, 29, 300)), "-depth 16", "PNG64:p.png", 6, 16, TPixelFormat::Bgra32, 1},
      {"interlaced", Translucent(PatternPicture(41, 29, 300)), "-interlace PNG", "PNG32:p.png", 6, 8, TPixelFormat::Bgra32, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::vector<uint8_t> bytes = ImageMagickFile(c.Picture, c.Options, c.Output);
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes[24], c.Depth);
    EXPECT_EQ(bytes[25], c.ColourType);
    const std::shared_ptr<TBitmapStore> store = Open(bytes);
    ASSERT_TRUE(store);
    EXPECT_STREQ(store->ClassName(), "TPngBitmapStore");
    EXPECT_EQ(store->Format(), c.Format);
    EXPECT_EQ(store->LevelCount(), 1);
    const std::shared_ptr<const TBitmap> bitmap = store->GetMipLevel(0);
    EXPECT_EQ(bitmap->Format(), c.Format);
    EXPECT_TRUE(LooksLike(*bitmap, c.Picture, c.Tolerance));
  }
}

// A PNG's header with its size replaced and its checksum made right again.
std::vector<uint8_t> WithSize(std::vector<uint8_t> png, uint32_t width, uint32_t height) {
  for (int i = 0; i < 4; ++i) {
    png[16 + size_t(i)] = uint8_t(width >> (24 - 8 * i));
    png[20 + size_t(i)] = uint8_t(height >> (24 - 8 * i));
  }
  const uint32_t crc = uint32_t(crc32(0, png.data() + 12, 17));
  for (int i = 0; i < 4; ++i) png[29 + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
  return png;
}

TEST(PngLoaderTest, RefusesSizesBeyondTheCapAndOtherData) {
  const std::vector<uint8_t> good = ImageMagickFile(PatternPicture(16, 8, 30), "", "PNG24:p.png");
  ASSERT_GT(good.size(), 33u);
  EXPECT_TRUE(Open(WithSize(good, 16, 8)));
  EXPECT_FALSE(Open(WithSize(good, kMaxPictureSide + 1, 8)));
  EXPECT_FALSE(Open(WithSize(good, 16, 1000000)));
  EXPECT_FALSE(Open(WithSize(good, 0, 8)));
  // The largest allowed picture opens; its missing rows stay black.
  const std::shared_ptr<TBitmapStore> wide = Open(WithSize(good, kMaxPictureSide, 8));
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->GetMipLevel(0)->Width(), kMaxPictureSide);

  std::vector<uint8_t> badHeader = good;
  badHeader[29] ^= 0xFF;  // header checksum
  for (const std::vector<uint8_t>& bytes : {badHeader, std::vector<uint8_t>(good.begin(), good.begin() + 20)}) {
    std::vector<uint8_t> prefixed = {9, 9};
    prefixed.insert(prefixed.end(), bytes.begin(), bytes.end());
    TMemoryStream stream(prefixed);
    stream.SetPosition(2);
    EXPECT_FALSE(LoadPngPicture(stream, u"x.png"));
    EXPECT_EQ(stream.GetPosition(), 2);
  }
}

TEST(PngLoaderTest, DamagedFilesGiveNothingOrAPicture) {
  for (const char* output : {"PNG32:p.png", "PNG8:p.png"}) {
    const std::vector<uint8_t> good = ImageMagickFile(Holes(PatternPicture(60, 40, 200)), "-interlace PNG", output);
    ASSERT_FALSE(good.empty());
    int opened = 0;
    for (const std::vector<uint8_t>& bytes : DamagedCopies(good, 5)) opened += DecodesEveryLevel(LoadPngPicture, bytes);
    EXPECT_GT(opened, 50) << output;
  }
}

}  // namespace
}  // namespace kiv
