#include "graphics/jpeg_bitmap_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "base/text.h"
#include "encoder_test_support.h"
#include "support/bytes.h"
#include "support/pixels.h"

namespace kiv {
namespace {

using test::DamagedCopies;
using test::DecodesEveryLevel;
using test::ImageMagickPicture;
using test::LooksLike;
using test::PnmPicture;
using test::Ran;

// JPEG pictures made by cjpeg from a generated photo-like picture.
class JpegLoaderTest : public test::EncoderFolderTest {
 protected:
  // Writes name with cjpeg from a width × height picture and answers its bytes.
  std::vector<uint8_t> Jpeg(const std::string& name, int width, int height, const std::string& options = "") {
    test::WritePpm(folder / "source.ppm", test::PhotoLikePicture(width, height));
    EXPECT_TRUE(Ran("cjpeg " + options + " -outfile " + In(name) + " " + In("source.ppm")));
    return FileBytes(folder / name);
  }
  std::shared_ptr<TBitmapStore> Open(const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    return LoadJpegPicture(stream, u"picture.jpg");
  }
  // djpeg's decode of name at 1 / 2^level: the same library, so the pixels must match exactly.
  test::TArgbPicture Djpeg(const std::string& name, int level) {
    return PnmPicture(test::CommandOutput("djpeg -scale 1/" + std::to_string(1 << level) + " -pnm " + In(name)));
  }
};

TEST_F(JpegLoaderTest, BaselineLevelsDecodeAtReducedSizes) {
  const std::shared_ptr<TBitmapStore> store = Open(Jpeg("photo.jpg", 1001, 667, "-quality 90"));
  ASSERT_TRUE(store);
  EXPECT_STREQ(store->ClassName(), "TJpegBitmapStore");
  EXPECT_EQ(store->Format(), TPixelFormat::Bgr24);
  EXPECT_EQ(store->LevelCount(), 4);
  const int sizes[4][2] = {{1001, 667}, {501, 334}, {251, 167}, {126, 84}};
  for (int level = 0; level < 4; ++level) {
    SCOPED_TRACE(level);
    const std::shared_ptr<const TBitmap> bitmap = store->GetMipLevel(level);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->Width(), sizes[level][0]);
    EXPECT_EQ(bitmap->Height(), sizes[level][1]);
    EXPECT_EQ(bitmap->MipLevel(), level);
    EXPECT_TRUE(LooksLike(*bitmap, Djpeg("photo.jpg", level)));
  }
  // ImageMagick decodes through its own settings: a small difference is allowed.
  EXPECT_TRUE(LooksLike(*store->GetMipLevel(0), ImageMagickPicture(folder / "photo.jpg", 1001, 667), 3));
  EXPECT_EQ(store->GetMipLevel(4), nullptr);
  EXPECT_EQ(store->GetMipLevel(-1), nullptr);
}

TEST_F(JpegLoaderTest, ProgressiveAndGreyPictures) {
  const std::shared_ptr<TBitmapStore> progressive = Open(Jpeg("progressive.jpg", 300, 200, "-progressive"));
  ASSERT_TRUE(progressive);
  std::vector<double> reports;
  progressive->SetProgress([&](double fraction) { reports.push_back(fraction); });
  EXPECT_TRUE(LooksLike(*progressive->GetMipLevel(0), Djpeg("progressive.jpg", 0)));
  EXPECT_TRUE(LooksLike(*progressive->GetMipLevel(2), Djpeg("progressive.jpg", 2)));
  ASSERT_GT(reports.size(), 4u);
  EXPECT_EQ(reports.back(), 1.0);
  // Two passes (reading the scans, then output): the first half is reached before the end.
  EXPECT_TRUE(std::any_of(reports.begin(), reports.end(), [](double f) { return f > 0.1 && f <= 0.5; }));
  for (double fraction : reports) EXPECT_TRUE(fraction >= 0.0 && fraction <= 1.0);

  const std::shared_ptr<TBitmapStore> grey = Open(Jpeg("grey.jpg", 120, 90, "-grayscale"));
  ASSERT_TRUE(grey);
  EXPECT_EQ(grey->Format(), TPixelFormat::Indexed8);
  const std::shared_ptr<const TBitmap> indexed = grey->GetMipLevel(1);
  EXPECT_EQ(indexed->Format(), TPixelFormat::Indexed8);
  EXPECT_EQ(indexed->Palette()[0x80], 0xFF808080u);
  EXPECT_TRUE(LooksLike(*indexed, Djpeg("grey.jpg", 1)));
  EXPECT_TRUE(LooksLike(*grey->GetMipLevel(0, TPixelFormat::Bgr24), ImageMagickPicture(folder / "grey.jpg", 120, 90), 3));
}

TEST_F(JpegLoaderTest, CmykPictureBecomesColour) {
  test::WritePpm(folder / "source.ppm", test::PhotoLikePicture(64, 48));
  ASSERT_TRUE(Ran("convert " + In("source.ppm") + " -colorspace CMYK -quality 95 " + In("cmyk.jpg")));
  const std::shared_ptr<TBitmapStore> store = Open(FileBytes(folder / "cmyk.jpg"));
  ASSERT_TRUE(store);
  EXPECT_EQ(store->Format(), TPixelFormat::Bgr24);
  EXPECT_TRUE(LooksLike(*store->GetMipLevel(0), ImageMagickPicture(folder / "cmyk.jpg", 64, 48), 3));
}

// The size fields of the start-of-frame segment (height, then width, big-endian).
size_t FrameSizeOffset(const std::vector<uint8_t>& jpeg) {
  for (size_t i = 2; i + 9 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) return i + 5;
  return 0;
}

TEST_F(JpegLoaderTest, RefusesWhatItCannotOpenAndKeepsTheStreamPosition) {
  const std::vector<uint8_t> good = Jpeg("small.jpg", 40, 30);
  const size_t size = FrameSizeOffset(good);
  ASSERT_NE(size, 0u);
  auto withSize = [&](int width, int height) {
    std::vector<uint8_t> bytes = good;
    bytes[size] = uint8_t(height >> 8);
    bytes[size + 1] = uint8_t(height);
    bytes[size + 2] = uint8_t(width >> 8);
    bytes[size + 3] = uint8_t(width);
    return bytes;
  };
  EXPECT_TRUE(Open(withSize(40, 30)));
  EXPECT_FALSE(Open(withSize(0, 30)));
  EXPECT_FALSE(Open(withSize(40, 0)));
  EXPECT_FALSE(Open(withSize(kMaxPictureSide + 1, 30)));
  EXPECT_FALSE(Open(withSize(30, 65000)));
  const std::shared_ptr<TBitmapStore> largest = Open(withSize(kMaxPictureSide, 8));
  ASSERT_TRUE(largest);  // allowed: the missing data decodes as far as it goes
  EXPECT_EQ(largest->GetMipLevel(3)->Width(), kMaxPictureSide / 8);

  std::vector<uint8_t> prefixed = {'x', 'y'};
  prefixed.insert(prefixed.end(), good.begin(), good.begin() + 100);  // cut inside the header
  for (const std::vector<uint8_t>& bytes : {prefixed, std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a'}}) {
    TMemoryStream stream(bytes);
    stream.SetPosition(2);
    EXPECT_FALSE(LoadJpegPicture(stream, u"x.jpg"));
    EXPECT_EQ(stream.GetPosition(), 2);
  }
}

TEST_F(JpegLoaderTest, TruncatedFileShowsItsTopRows) {
  const std::vector<uint8_t> good = Jpeg("photo.jpg", 200, 160);
  const std::vector<uint8_t> half(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2));
  const std::shared_ptr<TBitmapStore> store = Open(half);
  ASSERT_TRUE(store);
  const std::shared_ptr<const TBitmap> bitmap = store->GetMipLevel(0);
  const test::TArgbPicture full = Djpeg("photo.jpg", 0);
  for (int x = 0; x < 200; x += 7) EXPECT_EQ(PixelAt(*bitmap, x, 3), full.At(x, 3));
}

TEST_F(JpegLoaderTest, DamagedFilesGiveNothingOrAPicture) {
  for (const char* options : {"", "-progressive", "-grayscale -restart 1"}) {
    const std::vector<uint8_t> good = Jpeg("photo.jpg", 96, 64, options);
    int opened = 0;
    for (const std::vector<uint8_t>& bytes : DamagedCopies(good, 7)) opened += DecodesEveryLevel(LoadJpegPicture, bytes);
    EXPECT_GT(opened, 0) << options;
  }
}

TEST_F(JpegLoaderTest, FailingProgressListenerStopsTheDecodeCleanly) {
  const std::shared_ptr<TBitmapStore> store = Open(Jpeg("photo.jpg", 400, 300, "-progressive"));
  ASSERT_TRUE(store);
  store->SetProgress([](double fraction) {
    if (fraction > 0.2) throw std::runtime_error("cancelled");
  });
  EXPECT_THROW(store->GetMipLevel(0), std::runtime_error);
  store->SetProgress(nullptr);
  EXPECT_TRUE(LooksLike(*store->GetMipLevel(0), Djpeg("photo.jpg", 0)));
}

TEST_F(JpegLoaderTest, RegisteredLoadersFindEachFormatByNameOrByData) {
  const std::vector<uint8_t> jpeg = Jpeg("photo.jpg", 20, 10);
  const std::vector<uint8_t> gif = test::ImageMagickFile(test::PatternPicture(20, 10, 5), "", "p.gif");
  const std::vector<uint8_t> png = test::ImageMagickFile(test::PatternPicture(20, 10, 5), "", "PNG24:p.png");
  const struct {
    const std::vector<uint8_t>* Bytes;
    const char16_t* Name;
    const char* Store;  // null: refused
  } cases[] = {
      {&jpeg, u"a.jpg", "TJpegBitmapStore"},  {&jpeg, u"a.JPEG", "TJpegBitmapStore"},
      {&jpeg, u"a.jpe", "TJpegBitmapStore"},  {&jpeg, u"a.jfif", "TJpegBitmapStore"},
      {&jpeg, u"a", "TJpegBitmapStore"},      {&gif, u"a.gif", "TGifBitmapStore"},
      {&gif, u"a", "TGifBitmapStore"},        {&png, u"a.png", "TPngBitmapStore"},
      {&png, u"a.bmp", "TPngBitmapStore"},    {&png, u"a", "TPngBitmapStore"},
      {&jpeg, u"a.gif", nullptr},             {&png, u"a.jpg", nullptr},
  };
  for (const auto& c : cases) {
    TMemoryStream stream(*c.Bytes);
    const std::shared_ptr<TBitmapStore> store = LoadBitmapStore(stream, c.Name);
    EXPECT_STREQ(store ? store->ClassName() : nullptr, c.Store) << Utf16ToUtf8(c.Name);
  }
}

}  // namespace
}  // namespace kiv
