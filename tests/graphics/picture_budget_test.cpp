// The picture memory budget at the loaders' door, and loaders that fail.
#include "base/picture_budget.h"

#include <gtest/gtest.h>

#include <climits>
#include <new>

#include "base/text.h"
#include "bmp_test_support.h"
#include "graphics/gif_bitmap_store.h"
#include "graphics/picture_loaders.h"
#include "support/log_capture.h"

namespace kiv {
namespace {

constexpr int64_t kMiB = int64_t(1) << 20;

TEST(PictureBudget, ComesFromTheEnvironmentOrAQuarterOfTheMemory) {
  const struct {
    const char* Value;
    int64_t Memory;
    int64_t Budget;
  } cases[] = {
      {nullptr, 8192 * kMiB, 2048 * kMiB}, {"", 8192 * kMiB, 2048 * kMiB},  {"300", 8192 * kMiB, 300 * kMiB},
      {"12x", 8192 * kMiB, 2048 * kMiB},  {"-5", 8192 * kMiB, 2048 * kMiB}, {"1", 8192 * kMiB, 64 * kMiB},
      {nullptr, 0, 1024 * kMiB},           {nullptr, 100 * kMiB, 64 * kMiB},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PictureBudgetFrom(c.Value, c.Memory), c.Budget) << (c.Value ? c.Value : "(unset)") << " " << c.Memory;
}

class PictureBudgetTest : public ::testing::Test {
 protected:
  ~PictureBudgetTest() override { SetPictureMemoryBudget(std::nullopt); }
};

// 600 × 500 pixels: 0.9 to 1.2 MiB decoded, depending on the format.
TEST_F(PictureBudgetTest, EveryLoaderRefusesAPictureOverTheBudgetAndLogsItOnce) {
  const test::TArgbPicture picture = test::PatternPicture(600, 500, 40);
  std::vector<std::pair<std::u16string, std::vector<uint8_t>>> files;
  for (const char* name : {"p.jpg", "p.png", "p.gif", "BMP3:p.bmp"})
    files.emplace_back(Utf8ToUtf16(std::string(name).substr(std::string(name).find(':') + 1)),
                       test::ImageMagickFile(picture, "", name));
  files.emplace_back(u"p.zqgfx", test::GraphicsContainer({{"File", "p.bmp"}, {"Width", "600"}, {"Height", "500"},
                                                          {"OriginalSize", "1"}},
                                                         {0x03, 0x00}));
  for (const auto& [name, bytes] : files) {
    ASSERT_FALSE(bytes.empty());
    TMemoryStream stream(bytes);
    SetPictureMemoryBudget(4 * kMiB);
    EXPECT_NE(LoadBitmapStore(stream, name), nullptr) << Utf16ToUtf8(name);
    testing::TLogCapture log;
    SetPictureMemoryBudget(kMiB / 2);
    for (int attempt = 0; attempt < 2; ++attempt) {
      stream.SetPosition(0);
      EXPECT_EQ(LoadBitmapStore(stream, name), nullptr) << Utf16ToUtf8(name);
    }
    EXPECT_EQ(log.Count("Picture refused: 600 x 500 pixels (" + Utf16ToUtf8(name) + ")"), 1u) << Utf16ToUtf8(name);
  }
}

std::shared_ptr<TBitmapStore> RefusingLoader(TStream&, std::u16string_view) { throw std::bad_alloc(); }
std::shared_ptr<TBitmapStore> FailingReader(TStream& stream, std::u16string_view) {
  stream.SetPosition(3);
  stream.ReadWord();
  stream.ReadWord();  // past the end: raises
  return nullptr;
}
std::shared_ptr<TBitmapStore> TinyLoader(TStream& stream, std::u16string_view) {
  return stream.GetPosition() == 0 ? std::make_shared<TWrapperBitmapStore>(
                                         std::make_unique<TBitmap>(2, 2, TPixelFormat::Bgra32))
                                   : nullptr;
}

TEST(PictureLoaders, ALoaderThatRaisesIsPassedOverWithTheStreamPutBack) {
  TPictureLoaderRegistry loaders;
  loaders.Register(RefusingLoader, {u".x"});
  loaders.Register(FailingReader, {u".x"});
  loaders.Register(TinyLoader, {u".x"});
  TMemoryStream stream(std::vector<uint8_t>(6));
  testing::TLogCapture log;
  const std::shared_ptr<TBitmapStore> store = loaders.Load(stream, u"a.x");
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->Width(), 2);
  EXPECT_EQ(log.Count("Picture loader failed on a.x"), 2u);
}

TEST(GifTimings, ThousandsOfLongFramesSumWithoutOverflow) {
  TGifLayout layout{1, 1, std::vector<TGifFrame>(20000), 0};
  for (TGifFrame& frame : layout.Frames) frame.Delay = 65535;
  const TTilesTag tag = GifTilesTag(layout);
  EXPECT_EQ(tag.TotalDuration, INT_MAX);
  EXPECT_EQ(tag.AverageDuration, 655350);
}

}  // namespace
}  // namespace kiv
