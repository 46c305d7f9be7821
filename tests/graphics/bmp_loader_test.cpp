#include "graphics/bmp_loader.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "bmp_test_support.h"
#include "support/pixels.h"

namespace kiv {
namespace {

using test::HandMadeBmp;
using test::ImageMagickFile;
using test::LoadedPicture;
using test::LooksLike;
using test::PatternPicture;

// A source whose size is unknown, as a decompressing stream's is.
class UnsizedStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  int64_t GetSize() override { return -1; }
};

// ImageMagick truncates to 5 and 6 bits, hence the tolerance of the 16-bit cases.
struct TImageMagickCase {
  const char* Name;
  int Colours;
  uint32_t Alpha;
  const char* Options;
  const char* Output;
  uint32_t HeaderSize;
  uint32_t Bits;
  uint32_t Compression;
  TPixelFormat Format;
  int Tolerance;
};

const TImageMagickCase kImageMagickCases[] = {
    {"1-bit", 2, 0xFF, "-type Palette", "BMP3:p.bmp", 40, 1, 0, TPixelFormat::Bgr24, 0},
    {"4-bit", 12, 0xFF, "-type Palette", "BMP3:p.bmp", 40, 4, 0, TPixelFormat::Bgr24, 0},
    {"8-bit", 40, 0xFF, "-type Palette -compress None", "BMP3:p.bmp", 40, 8, 0, TPixelFormat::Bgr24, 0},
    {"RLE8", 40, 0xFF, "-type Palette -compress RLE", "BMP3:p.bmp", 40, 8, 1, TPixelFormat::Bgr24, 0},
    {"core 4-bit", 12, 0xFF, "-type Palette", "BMP2:p.bmp", 12, 4, 0, TPixelFormat::Bgr24, 0},
    {"core 24-bit", 40, 0xFF, "-type TrueColor", "BMP2:p.bmp", 12, 24, 0, TPixelFormat::Bgr24, 0},
    {"16-bit 555", 40, 0xFF, "-alpha off -define bmp:subtype=RGB555", "p.bmp", 124, 16, 3, TPixelFormat::Rgb555, 8},
    {"16-bit 565", 40, 0xFF, "-alpha off -define bmp:subtype=RGB565", "p.bmp", 124, 16, 3, TPixelFormat::Rgb565, 8},
    {"24-bit", 40, 0xFF, "-type TrueColor", "BMP3:p.bmp", 40, 24, 0, TPixelFormat::Bgr24, 0},
    {"32-bit with alpha", 40, 0x80, "-define bmp3:alpha=true", "BMP3:p.bmp", 40, 32, 0, TPixelFormat::Bgra32, 0},
    {"32-bit bit fields", 40, 0x80, "", "p.bmp", 124, 32, 3, TPixelFormat::Bgra32, 0},
};

// The header fields that show ImageMagick wrote what the case is about.
void ExpectHeader(const std::vector<uint8_t>& file, const TImageMagickCase& c) {
  ASSERT_GT(file.size(), 54u) << "convert failed (is ImageMagick installed?)";
  const uint32_t headerSize = test::GetU32(file, 14);
  EXPECT_EQ(headerSize, c.HeaderSize);
  const bool core = headerSize == 12;
  EXPECT_EQ(test::GetU32(file, core ? 24 : 28) & 0xFFFF, c.Bits);
  if (!core) {
    EXPECT_EQ(test::GetU32(file, 30), c.Compression);
  }
}

std::vector<std::vector<uint8_t>> ImageMagickFiles() {
  std::vector<std::vector<uint8_t>> files;
  for (const TImageMagickCase& c : kImageMagickCases)
    files.push_back(ImageMagickFile(PatternPicture(9, 7, c.Colours, c.Alpha), c.Options, c.Output));
  return files;
}

TEST(BmpLoader, EveryDepthWrittenByImageMagickDecodesToItsPicture) {
  for (const TImageMagickCase& c : kImageMagickCases) {
    SCOPED_TRACE(c.Name);
    const test::TArgbPicture picture = PatternPicture(9, 7, c.Colours, c.Alpha);
    const std::vector<uint8_t> file = ImageMagickFile(picture, c.Options, c.Output);
    ExpectHeader(file, c);
    TMemoryStream stream(file);
    const std::shared_ptr<TBitmapStore> store = LoadBmpPicture(stream, u"p.bmp");
    ASSERT_TRUE(store);
    EXPECT_EQ(store->Width(), 9);
    EXPECT_EQ(store->Height(), 7);
    EXPECT_EQ(store->Format(), c.Format);
    const std::shared_ptr<const TBitmap> level0 = store->GetMipLevel(0);
    ASSERT_TRUE(level0);
    EXPECT_EQ(level0->Format(), c.Format);
    EXPECT_TRUE(LooksLike(*level0, picture, c.Tolerance));
  }
}

TEST(BmpLoader, A32BitFileWhoseAlphaIsZeroEverywhereIsOpaque) {
  const test::TArgbPicture picture = PatternPicture(9, 7, 40);
  const std::vector<uint8_t> file = ImageMagickFile(
      picture, "-alpha set -channel A -evaluate set 0 +channel -define bmp3:alpha=true", "BMP3:p.bmp");
  ASSERT_GT(file.size(), 54u);
  for (size_t at = test::GetU32(file, 10) + 3; at < file.size(); at += 4) ASSERT_EQ(file[at], 0) << at;
  const auto level0 = LoadedPicture(LoadBmpPicture, file);
  ASSERT_TRUE(level0);
  EXPECT_TRUE(LooksLike(*level0, picture));
}

TEST(BmpLoader, ANegativeHeightStoresRowsTopDown) {
  const test::TArgbPicture picture = PatternPicture(9, 7, 40);
  std::vector<uint8_t> file = ImageMagickFile(picture, "-type TrueColor", "BMP3:p.bmp");
  ASSERT_GT(file.size(), 54u);
  const size_t offset = test::GetU32(file, 10);
  const size_t stride = 28;
  std::vector<uint8_t> flipped(file.begin(), file.begin() + long(offset));
  for (int row = 6; row >= 0; --row)
    flipped.insert(flipped.end(), file.begin() + long(offset + row * stride),
                   file.begin() + long(offset + (row + 1) * stride));
  test::PutU32(flipped, 22, uint32_t(-7));
  const auto level0 = LoadedPicture(LoadBmpPicture, flipped);
  ASSERT_TRUE(level0);
  EXPECT_TRUE(LooksLike(*level0, picture));
}

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

TEST(BmpLoader, RunLengthCodedPicturesFollowRunsLiteralsMovesAndEnds) {
  // 4-bit: a run alternates its two indexes; a literal of 5 indexes takes 3 bytes and
  // one byte of padding; a run past the row's end is cut; a move skips pixels.
  const std::vector<uint8_t> rle4 = {
      0x05, 0x12, 0x00, 0x00,                                      // bottom row: R G R G R, end of line
      0x00, 0x03, 0x34, 0x40, 0x00, 0x02, 0x02, 0x00, 0x01, 0x11,  // B W W, move 2 right, R
      0x00, 0x00,                                                  // end of line
      0x00, 0x05, 0x12, 0x34, 0x10, 0x00, 0x02, 0x44,              // R G B W R, then W W cut to one
      0x00, 0x01,                                                  // end of picture
  };
  const auto picture4 = LoadedPicture(
      LoadBmpPicture, HandMadeBmp({6, 3, 4, 2, {}, {0, kRed, kGreen, kBlue, kWhite}, rle4}));
  ASSERT_TRUE(picture4);
  const std::vector<std::vector<uint32_t>> expected4 = {
      {kRed, kGreen, kBlue, kWhite, kRed, kWhite},
      {kBlue, kWhite, kWhite, 0, 0, kRed},
      {kRed, kGreen, kRed, kGreen, kRed, 0},
  };
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(*picture4, x, y), 0xFF000000 | expected4[y][x]) << x << "," << y;

  // 8-bit: a run of 255 on a 4-pixel row, a move down past the picture ends the data.
  const std::vector<uint8_t> rle8 = {0xFF, 0x01, 0x00, 0x00, 0x00, 0x02, 0x03, 0x00, 0x01,
                                     0x02, 0x00, 0x02, 0x00, 0xC8, 0x04, 0x01};
  const auto picture8 = LoadedPicture(LoadBmpPicture, HandMadeBmp({4, 3, 8, 1, {}, {0, kRed, kGreen}, rle8}));
  ASSERT_TRUE(picture8);
  const std::vector<std::vector<uint32_t>> expected8 = {{0, 0, 0, 0}, {0, 0, 0, kGreen}, {kRed, kRed, kRed, kRed}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(*picture8, x, y), 0xFF000000 | expected8[y][x]) << x << "," << y;

  // A literal longer than the data that is left ends it.
  const auto cut = LoadedPicture(LoadBmpPicture, HandMadeBmp({4, 1, 8, 1, {}, {0, kRed}, {0x01, 0x01, 0x00, 0x10, 0x01}}));
  ASSERT_TRUE(cut);
  EXPECT_EQ(PixelAt(*cut, 0, 0), 0xFF000000 | kRed);
  EXPECT_EQ(PixelAt(*cut, 1, 0), 0xFF000000u);
}

TEST(BmpLoader, PaletteIndexesPastThePaletteReadAsBlack) {
  // Two colours announced for a 4-bit picture; indexes 0, 1, 5 and 15.
  const auto picture = LoadedPicture(LoadBmpPicture, HandMadeBmp({4, 1, 4, 0, {}, {kRed, kGreen}, {0x01, 0x5F, 0, 0}}));
  ASSERT_TRUE(picture);
  EXPECT_EQ(PixelAt(*picture, 0, 0), 0xFF000000 | kRed);
  EXPECT_EQ(PixelAt(*picture, 1, 0), 0xFF000000 | kGreen);
  EXPECT_EQ(PixelAt(*picture, 2, 0), 0xFF000000u);
  EXPECT_EQ(PixelAt(*picture, 3, 0), 0xFF000000u);

  // More colours announced than the depth allows: only the first two count.
  const auto oneBit =
      LoadedPicture(LoadBmpPicture, HandMadeBmp({2, 1, 1, 0, {}, {kRed, kGreen, kBlue}, {0x40, 0, 0, 0}}));
  ASSERT_TRUE(oneBit);
  EXPECT_EQ(PixelAt(*oneBit, 0, 0), 0xFF000000 | kRed);
  EXPECT_EQ(PixelAt(*oneBit, 1, 0), 0xFF000000 | kGreen);
}

TEST(BmpLoader, RefusesDepthsCompressionsMasksAndSizesItCannotTake) {
  const std::vector<uint8_t> row(64, 0);
  const std::vector<uint32_t> grey = {0x808080, 0x404040};
  struct TRefused {
    const char* Why;
    test::TBmpParts Parts;
  };
  const TRefused refused[] = {
      {"RLE4 at 8 bits", {2, 1, 8, 2, {}, grey, row}},
      {"RLE8 at 4 bits", {2, 1, 4, 1, {}, grey, row}},
      {"RLE8 at 24 bits", {2, 1, 24, 1, {}, {}, row}},
      {"bit fields at 8 bits", {2, 1, 8, 3, {0xF800, 0x07E0, 0x001F}, grey, row}},
      {"16-bit 4-4-4 masks", {2, 1, 16, 3, {0x0F00, 0x00F0, 0x000F}, {}, row}},
      {"16-bit 565 green with swapped red and blue", {2, 1, 16, 3, {0x001F, 0x07E0, 0xF800}, {}, row}},
      {"32-bit masks in RGB order", {2, 1, 32, 3, {0x0000FF, 0x00FF00, 0xFF0000}, {}, row}},
      {"JPEG compression", {2, 1, 24, 4, {}, {}, row}},
      {"2 bits", {2, 1, 2, 0, {}, grey, row}},
      {"0 bits", {2, 1, 0, 0, {}, {}, row}},
      {"width 0", {0, 1, 24, 0, {}, {}, row}},
      {"negative width", {-2, 1, 24, 0, {}, {}, row}},
      {"height 0", {2, 0, 24, 0, {}, {}, row}},
      {"smallest height", {1, INT32_MIN, 1, 0, {}, grey, row}},
      {"wider than allowed", {kMaxPictureSide + 1, 1, 1, 0, {}, grey, std::vector<uint8_t>(2504, 0)}},
      {"rows beyond the file", {2, 17, 24, 0, {}, {}, row}},
  };
  for (const TRefused& r : refused) {
    const std::vector<uint8_t> file = HandMadeBmp(r.Parts);
    TMemoryStream stream(file);
    stream.SetPosition(0);
    EXPECT_FALSE(LoadBmpPicture(stream, u"p.bmp")) << r.Why;
    EXPECT_EQ(stream.GetPosition(), 0) << r.Why;
  }

  std::vector<uint8_t> good = HandMadeBmp({2, 1, 24, 0, {}, {}, {1, 2, 3, 4, 5, 6, 0, 0}});
  ASSERT_TRUE(LoadedPicture(LoadBmpPicture, good));
  auto damaged = [&](size_t at, uint32_t value) {
    std::vector<uint8_t> bytes = good;
    test::PutU32(bytes, at, value);
    return bytes;
  };
  EXPECT_FALSE(LoadedPicture(LoadBmpPicture, damaged(2, uint32_t(good.size() + 1)))) << "file size past the end";
  EXPECT_FALSE(LoadedPicture(LoadBmpPicture, damaged(10, uint32_t(good.size() + 1)))) << "data offset past the end";
  EXPECT_FALSE(LoadedPicture(LoadBmpPicture, damaged(10, 20))) << "data inside the headers";
  EXPECT_FALSE(LoadedPicture(LoadBmpPicture, damaged(14, 20))) << "unknown header size";
  EXPECT_FALSE(LoadedPicture(LoadBmpPicture, damaged(14, 0xFFFFFFF0))) << "header larger than the file";
  std::vector<uint8_t> notBmp = good;
  notBmp[0] = 'X';
  EXPECT_FALSE(LoadedPicture(LoadBmpPicture, notBmp));
}

TEST(BmpLoader, ReadsFromAnyStreamPositionAndOnlyLevelZero) {
  const test::TArgbPicture picture = PatternPicture(9, 7, 12);
  const std::vector<uint8_t> file = ImageMagickFile(picture, "-type Palette", "BMP3:p.bmp");
  std::vector<uint8_t> bytes = {'x', 'y', 'z'};
  bytes.insert(bytes.end(), file.begin(), file.end());
  bytes.insert(bytes.end(), {'t', 'a', 'i', 'l'});
  UnsizedStream stream(bytes);
  stream.SetPosition(3);
  const std::shared_ptr<TBitmapStore> store = LoadBmpPicture(stream, u"p.dib");
  ASSERT_TRUE(store);
  EXPECT_EQ(stream.GetPosition(), int64_t(3 + file.size()));
  EXPECT_EQ(store->LevelCount(), 1);
  EXPECT_FALSE(store->GetMipLevel(4));
  EXPECT_FALSE(store->GetMipLevel(-1));
  const auto level0 = store->GetMipLevel(0, TPixelFormat::Bgra32);
  ASSERT_TRUE(level0);
  EXPECT_TRUE(LooksLike(*level0, picture));
  EXPECT_EQ(store->GetMipLevel(0, TPixelFormat::Bgra32), level0);
  EXPECT_THROW(store->GetMipLevel(1), EKivError);
}

TEST(BmpLoader, TruncatedOrCorruptedFilesGiveNullOrAPictureNeverACrash) {
  std::mt19937 random(20240601);
  for (const std::vector<uint8_t>& file : ImageMagickFiles()) {
    ASSERT_GT(file.size(), 54u);
    for (size_t length = 0; length < file.size(); ++length) {
      std::vector<uint8_t> cut(file.begin(), file.begin() + long(length));
      TMemoryStream stream(cut);
      ASSERT_FALSE(LoadBmpPicture(stream, u"p.bmp")) << length;
      ASSERT_EQ(stream.GetPosition(), 0);
      // The same piece with its file size made to match: the inner checks must hold.
      if (length >= 6) test::PutU32(cut, 2, uint32_t(length));
      if (const auto picture = LoadedPicture(LoadBmpPicture, cut)) {
        EXPECT_GT(picture->Width(), 0);
      }
    }
    for (int round = 0; round < 400; ++round) {
      std::vector<uint8_t> corrupt = file;
      const int flips = 1 + int(random() % 4);
      for (int i = 0; i < flips; ++i) {
        // Half the flips hit the headers and palette, where the sizes are.
        const size_t span = random() % 2 ? std::min<size_t>(corrupt.size(), 140) : corrupt.size();
        corrupt[random() % span] ^= uint8_t(1 + random() % 255);
      }
      TMemoryStream stream(corrupt);
      if (const std::shared_ptr<TBitmapStore> store = LoadBmpPicture(stream, u"p.bmp")) {
        const auto picture = store->GetMipLevel(0, TPixelFormat::Bgra32);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Width(), store->Width());
        EXPECT_EQ(picture->Height(), store->Height());
      }
    }
  }
}

}  // namespace
}  // namespace kiv
