#include "graphics/graphics_container_loader.h"

#include <gtest/gtest.h>

#include <random>

#include "bmp_test_support.h"
#include "graphics/bmp_loader.h"
#include "support/deflate.h"
#include "support/pixels.h"

namespace kiv {
namespace {

using test::GraphicsContainer;
using test::LooksLike;
using test::PatternPicture;

using TFields = std::vector<std::pair<std::string, std::string>>;

constexpr uint32_t kOpaqueGreen = 0xFF00FF00;

TFields FieldsFor(int width, int height) {
  return {{"File", "Photo.bmp"}, {"Width", std::to_string(width)}, {"Height", std::to_string(height)},
          {"OriginalSize", "123456"}};
}

std::vector<uint8_t> ContainerOf(const std::vector<uint8_t>& bmp, int width, int height) {
  return GraphicsContainer(FieldsFor(width, height), RawDeflate(bmp));
}

::testing::AssertionResult IsGreen(const TBitmap& bitmap, int width, int height) {
  if (bitmap.Width() != width || bitmap.Height() != height || bitmap.Format() != TPixelFormat::Bgra32)
    return ::testing::AssertionFailure() << "size " << bitmap.Width() << "x" << bitmap.Height();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (PixelAt(bitmap, x, y) != kOpaqueGreen) return ::testing::AssertionFailure() << "pixel " << x << "," << y;
  return ::testing::AssertionSuccess();
}

// A source whose size is unknown, as a decompressing stream's is.
class UnsizedStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  int64_t GetSize() override { return -1; }
};

TEST(GraphicsContainer, KnowsItsSizeAtOnceAndDecodesTheDeflatedBmp) {
  for (const auto& [options, alpha] : {std::pair{"-type Palette", 0xFFu}, std::pair{"-define bmp3:alpha=true", 0x80u}}) {
    const test::TArgbPicture picture = PatternPicture(9, 7, 12, alpha);
    const std::vector<uint8_t> bmp = test::ImageMagickFile(picture, options, "BMP3:p.bmp");
    ASSERT_GT(bmp.size(), 54u) << "convert failed (is ImageMagick installed?)";
    TFields fields = FieldsFor(9, 7);
    fields.insert(fields.begin() + 1, {"Comment", "ignored"});
    UnsizedStream stream(GraphicsContainer(fields, RawDeflate(bmp)));
    const std::shared_ptr<TBitmapStore> store = LoadGraphicsContainer(stream, u"Photo.zqgfx");
    ASSERT_TRUE(store);
    EXPECT_EQ(store->Width(), 9);
    EXPECT_EQ(store->Height(), 7);
    EXPECT_EQ(store->Format(), TPixelFormat::Bgra32);
    EXPECT_EQ(store->LevelCount(), 1);
    EXPECT_FALSE(store->GetMipLevel(4));
    EXPECT_FALSE(store->GetMipLevel(-1));
    const auto level0 = store->GetMipLevel(0);
    ASSERT_TRUE(level0);
    EXPECT_EQ(level0->Format(), TPixelFormat::Bgra32);
    EXPECT_TRUE(LooksLike(*level0, picture));
  }
}

TEST(GraphicsContainer, RefusesHeadersWithoutTheRequiredNumbers) {
  const std::vector<uint8_t> payload = RawDeflate(test::HandMadeBmp({2, 2, 24, 0, {}, {}, std::vector<uint8_t>(16)}));
  std::vector<TFields> refused;
  for (size_t drop = 0; drop < 4; ++drop) {
    TFields fields = FieldsFor(2, 2);
    fields.erase(fields.begin() + long(drop));
    refused.push_back(fields);
  }
  for (const char* width : {"two", "", "2a", " 2", "+2", "0", "-2", "20001", "99999999999999999999"}) {
    TFields fields = FieldsFor(2, 2);
    fields[1].second = width;
    refused.push_back(fields);
  }
  TFields badSize = FieldsFor(2, 2);
  badSize[3].second = "12 KB";
  refused.push_back(badSize);
  TFields badHeight = FieldsFor(2, 2);
  badHeight[2].second = "2.0";
  refused.push_back(badHeight);

  for (const TFields& fields : refused) {
    TMemoryStream stream(GraphicsContainer(fields, payload));
    EXPECT_FALSE(LoadGraphicsContainer(stream, u"p.zqgfx")) << fields.size() << " " << fields[1].second;
    EXPECT_EQ(stream.GetPosition(), 0);
  }
  std::vector<uint8_t> wrongMagic = GraphicsContainer(FieldsFor(2, 2), payload);
  wrongMagic[3] = 'X';
  EXPECT_FALSE(test::LoadedPicture(LoadGraphicsContainer, wrongMagic));
}

TEST(GraphicsContainer, APayloadThatCannotBeDecodedGivesGreenAtTheAnnouncedSize) {
  const std::vector<uint8_t> bmp = test::HandMadeBmp({2, 2, 24, 0, {}, {}, std::vector<uint8_t>(16, 0x33)});
  std::vector<uint8_t> truncatedDeflate = RawDeflate(bmp);
  truncatedDeflate.resize(truncatedDeflate.size() / 2);
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> payloads = {
      {"no payload", {}},
      {"not deflate", {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x01}},
      {"deflate cut short", truncatedDeflate},
      {"not a BMP", RawDeflate(std::vector<uint8_t>(100, 'x'))},
      {"a BMP of another size", RawDeflate(test::HandMadeBmp({3, 2, 24, 0, {}, {}, std::vector<uint8_t>(24)}))},
      {"far more bytes than the size allows", RawDeflate(std::vector<uint8_t>(8 << 20, 0))},
  };
  for (const auto& [why, payload] : payloads) {
    TMemoryStream stream(GraphicsContainer(FieldsFor(2, 2), payload));
    const std::shared_ptr<TBitmapStore> store = LoadGraphicsContainer(stream, u"p.png");
    ASSERT_TRUE(store) << why;
    const auto level0 = store->GetMipLevel(0);
    ASSERT_TRUE(level0) << why;
    EXPECT_TRUE(IsGreen(*level0, 2, 2)) << why;
  }
  const auto good = test::LoadedPicture(LoadGraphicsContainer, ContainerOf(bmp, 2, 2));
  ASSERT_TRUE(good);
  EXPECT_EQ(PixelAt(*good, 1, 1), 0xFF333333u);
}

TEST(GraphicsContainer, TruncatedOrCorruptedContainersGiveNullOrAPictureOfTheirSize) {
  const std::vector<uint8_t> bmp = test::ImageMagickFile(PatternPicture(9, 7, 40), "-type Palette", "BMP3:p.bmp");
  ASSERT_GT(bmp.size(), 54u);
  const std::vector<uint8_t> container = ContainerOf(bmp, 9, 7);
  auto expectNullOrSized = [](const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    const std::shared_ptr<TBitmapStore> store = LoadGraphicsContainer(stream, u"p.zqgfx");
    if (!store) {
      EXPECT_EQ(stream.GetPosition(), 0);
      return;
    }
    const auto level0 = store->GetMipLevel(0);
    ASSERT_TRUE(level0);
    EXPECT_EQ(level0->Width(), store->Width());
    EXPECT_EQ(level0->Height(), store->Height());
  };
  for (size_t length = 0; length < container.size(); ++length)
    expectNullOrSized(std::vector<uint8_t>(container.begin(), container.begin() + long(length)));
  std::mt19937 random(77);
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> corrupt = container;
    for (int flips = 1 + int(random() % 3); flips > 0; --flips) corrupt[random() % corrupt.size()] ^= uint8_t(1 + random() % 255);
    expectNullOrSized(corrupt);
  }
  // Damage inside the payload's BMP, deflated correctly.
  for (int round = 0; round < 500; ++round) {
    std::vector<uint8_t> corrupt = bmp;
    for (int flips = 1 + int(random() % 3); flips > 0; --flips)
      corrupt[random() % std::min<size_t>(corrupt.size(), 80)] ^= uint8_t(1 + random() % 255);
    expectNullOrSized(ContainerOf(corrupt, 9, 7));
  }
}

// Fake loaders that count their calls; the PNG one takes data with the PNG signature.
int pngCalls = 0;
int jpegCalls = 0;
std::shared_ptr<TBitmapStore> FakePngLoader(TStream& stream, std::u16string_view) {
  ++pngCalls;
  uint8_t head[4] = {};
  const int64_t start = stream.GetPosition();
  stream.Read(head, 4);
  stream.SetPosition(start);
  if (head[1] != 'P' || head[2] != 'N' || head[3] != 'G') return nullptr;
  return std::make_shared<TWrapperBitmapStore>(std::make_unique<TBitmap>(1, 1, TPixelFormat::Bgr24));
}
std::shared_ptr<TBitmapStore> FakeJpegLoader(TStream&, std::u16string_view) {
  ++jpegCalls;
  return nullptr;
}

TEST(PictureLoaderChoice, ExtensionsAndSniffingPickTheLoader) {
  TPictureLoaderRegistry registry;
  registry.Register(LoadGraphicsContainer, {u".zqgfx", u".bmp", u".dib", u".png", u".gif"});
  registry.Register(LoadBmpPicture, {u".bmp", u".dib"});
  registry.Register(FakeJpegLoader, {u"*.JPG"});
  registry.Register(FakePngLoader, {u"png"});

  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
  TMemoryStream pngNamedBmp(png);
  EXPECT_TRUE(registry.Load(pngNamedBmp, u"pictures\\Holiday.bmp"));
  EXPECT_EQ(pngCalls, 1);

  const std::vector<uint8_t> bmp = test::HandMadeBmp({2, 2, 24, 0, {}, {}, std::vector<uint8_t>(16)});
  TMemoryStream containerNamedPng(ContainerOf(bmp, 2, 2));
  const std::shared_ptr<TBitmapStore> fromContainer = registry.Load(containerNamedPng, u"Photo.png");
  ASSERT_TRUE(fromContainer);
  EXPECT_STREQ(fromContainer->ClassName(), "TGfxBitmapStore");
  EXPECT_EQ(pngCalls, 1);

  TMemoryStream bmpNamedDib(bmp);
  const std::shared_ptr<TBitmapStore> fromBmp = registry.Load(bmpNamedDib, u"Scan.DIB");
  ASSERT_TRUE(fromBmp);
  EXPECT_STREQ(fromBmp->ClassName(), "TBmpBitmapStore");

  TMemoryStream jpeg(std::vector<uint8_t>{0xFF, 0xD8, 0xFF});
  EXPECT_FALSE(registry.Load(jpeg, u"photo.jpg"));
  EXPECT_EQ(jpegCalls, 1);
  EXPECT_EQ(pngCalls, 1);
}

TEST(PictureLoaderChoice, ThePlayersTableOpensContainersAndBmpFiles) {
  const std::vector<uint8_t> bmp = test::HandMadeBmp({2, 2, 24, 0, {}, {}, std::vector<uint8_t>(16)});
  TMemoryStream container(ContainerOf(bmp, 2, 2));
  const std::shared_ptr<TBitmapStore> fromContainer = LoadBitmapStore(container, u"Photo.gif");
  ASSERT_TRUE(fromContainer);
  EXPECT_STREQ(fromContainer->ClassName(), "TGfxBitmapStore");
  TMemoryStream plain(bmp);
  const std::shared_ptr<TBitmapStore> fromBmp = LoadBitmapStore(plain, u"Photo.bmp");
  ASSERT_TRUE(fromBmp);
  EXPECT_STREQ(fromBmp->ClassName(), "TBmpBitmapStore");
}

}  // namespace
}  // namespace kiv
