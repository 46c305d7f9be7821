#include "graphics/gif_bitmap_store.h"

#include <gtest/gtest.h>

#include "encoder_test_support.h"
#include "support/bytes.h"
#include "support/pixels.h"

namespace kiv {
namespace {

using test::DamagedCopies;
using test::DecodesEveryLevel;
using test::LooksLike;
using test::PatternPicture;
using test::Ran;
using test::TArgbPicture;

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kClear = 0;

TArgbPicture Solid(int width, int height, uint32_t argb) {
  return {width, height, std::vector<uint32_t>(size_t(width) * size_t(height), argb)};
}

// Pixels whose (x + y) % 5 is 0 are transparent, with the colour bits a decoder leaves.
TArgbPicture WithHoles(TArgbPicture picture) {
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x)
      if ((x + y) % 5 == 0) picture.Pixels[size_t(y) * size_t(picture.Width) + size_t(x)] = kClear;
  return picture;
}

// Still frames written by ImageMagick, animations put together by gifsicle.
class GifLoaderTest : public test::EncoderFolderTest {
 protected:
  void Frame(const std::string& name, const TArgbPicture& picture, const std::string& options = "") {
    const std::vector<uint8_t> bytes = test::ImageMagickFile(picture, options, "GIF:" + name);
    ASSERT_FALSE(bytes.empty());
    PutFileBytes(folder / name, bytes);
  }
  // gifsicle run in the folder, so arguments name the frame files plainly.
  std::vector<uint8_t> Gifsicle(const std::string& arguments) {
    EXPECT_TRUE(Ran("cd '" + folder.string() + "' && gifsicle " + arguments + " -o out.gif"));
    return FileBytes(folder / "out.gif");
  }
  static std::shared_ptr<TBitmapStore> Open(const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    return LoadGifPicture(stream, u"picture.gif");
  }
  // The image descriptor of a frame: ten bytes before its local colour table, or before
  // its code size byte when it has none.
  static size_t DescriptorOffset(const TGifFrame& frame) {
    const size_t codeSize = frame.DataStart - 1;
    const bool local = frame.Colours.Offset + size_t(frame.Colours.Count) * 3 == codeSize;
    return (local ? frame.Colours.Offset : codeSize) - 10;
  }
  static void PutWord(std::vector<uint8_t>& bytes, size_t at, int value) {
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
  }
};

TEST_F(GifLoaderTest, StillPicturesDecodeExactly) {
  struct TCase {
    const char* Name;
    TArgbPicture Picture;
    const char* Options;
    const char* Format;
  };
  const TCase cases[] = {
      {"two colours", PatternPicture(13, 7, 2), "", "GIF:"},
      {"GIF87a", PatternPicture(20, 11, 16), "", "GIF87:"},
      {"256 colours, long codes", PatternPicture(300, 200, 256), "", "GIF:"},
      {"interlaced", PatternPicture(37, 23, 60), "-interlace GIF", "GIF:"},
      {"transparent pixels", WithHoles(PatternPicture(31, 17, 40)), "", "GIF:"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::vector<uint8_t> bytes = test::ImageMagickFile(c.Picture, c.Options, std::string(c.Format) + "p.gif");
    ASSERT_GT(bytes.size(), 6u);
    const std::shared_ptr<TBitmapStore> store = Open(bytes);
    ASSERT_TRUE(store);
    EXPECT_EQ(store->Format(), TPixelFormat::Bgra32);
    EXPECT_EQ(store->Tiles(), nullptr);
    EXPECT_TRUE(LooksLike(*store->GetMipLevel(0), c.Picture));
  }
  const std::vector<uint8_t> old = test::ImageMagickFile(PatternPicture(4, 4, 3), "", "GIF87:p.gif");
  EXPECT_EQ(std::string(old.begin(), old.begin() + 6), "GIF87a");
  EXPECT_TRUE(ReadGifLayout(test::ImageMagickFile(PatternPicture(9, 9, 9), "-interlace GIF", "p.gif")).Frames[0].Interlaced);
}

TEST_F(GifLoaderTest, AnimationBecomesAStripWithItsTimings) {
  const TArgbPicture frames[3] = {PatternPicture(10, 10, 5), Solid(10, 10, kBlue), Solid(10, 10, kGreen)};
  for (int k = 0; k < 3; ++k) Frame("f" + std::to_string(k) + ".gif", frames[k]);
  const std::shared_ptr<TBitmapStore> store =
      Open(Gifsicle("--loopcount=3 --delay 0 f0.gif --delay 20 f1.gif --delay 30 f2.gif"));
  ASSERT_TRUE(store);
  EXPECT_EQ(store->Width(), 30);
  EXPECT_EQ(store->Height(), 10);
  ASSERT_TRUE(store->Tiles());
  const TTilesTag& tiles = *store->Tiles();
  EXPECT_EQ(tiles.Columns, 3);
  EXPECT_EQ(tiles.Rows, 1);
  EXPECT_EQ(tiles.FrameWidth, 10);
  EXPECT_EQ(tiles.FrameHeight, 10);
  EXPECT_EQ(tiles.Durations, u"50,200,300");
  EXPECT_EQ(tiles.TotalDuration, 550);
  EXPECT_EQ(tiles.AverageDuration, 183);
  EXPECT_EQ(tiles.LoopCount, 3);
  const std::shared_ptr<const TBitmap> strip = store->GetMipLevel(0);
  for (int k = 0; k < 3; ++k)
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) ASSERT_EQ(PixelAt(*strip, k * 10 + x, y), frames[k].At(x, y)) << k << " " << x << "," << y;
}

// Frame A: the whole 4x4 screen red; frame B: green 2x2 at (1,1); frame C: blue at
// (0,0), the rest transparent. Cells are written row by row: R, G, B or . (transparent).
struct TDisposalCase {
  const char* DisposalA;
  const char* DisposalB;
  const char* Cells[2];  // cells 1 and 2; cell 0 is all red
};

const TDisposalCase kDisposalCases[] = {
    {"asis", "previous", {"RRRR RGGR RGGR RRRR", "BRRR RRRR RRRR RRRR"}},
    {"none", "previous", {"RRRR RGGR RGGR RRRR", "B... .... .... ...."}},
    {"asis", "background", {"RRRR RGGR RGGR RRRR", "BRRR R..R R..R RRRR"}},
    {"background", "none", {".... .GG. .GG. ....", "B... .GG. .GG. ...."}},
    {"background", "asis", {".... .GG. .GG. ....", "B... .GG. .GG. ...."}},
};

TEST_F(GifLoaderTest, TransparentPixelsComeFromTheCellTheDisposalNames) {
  Frame("a.gif", Solid(4, 4, kRed));
  Frame("b.gif", Solid(2, 2, kGreen));
  TArgbPicture c = Solid(4, 4, kClear);
  c.Pixels[0] = kBlue;
  Frame("c.gif", c);
  for (const TDisposalCase& d : kDisposalCases) {
    SCOPED_TRACE(std::string(d.DisposalA) + " " + d.DisposalB);
    const std::shared_ptr<TBitmapStore> store =
        Open(Gifsicle(std::string("--logical-screen 4x4 --disposal=") + d.DisposalA + " --position 0,0 a.gif" +
                      " --disposal=" + d.DisposalB + " --position 1,1 b.gif --disposal=none --position 0,0 c.gif"));
    ASSERT_TRUE(store);
    const std::shared_ptr<const TBitmap> strip = store->GetMipLevel(0);
    ASSERT_EQ(strip->Width(), 12);
    for (int cell = 0; cell < 3; ++cell) {
      const std::string rows = cell == 0 ? "RRRR RRRR RRRR RRRR" : d.Cells[cell - 1];
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
          const char want = rows[size_t(y * 5 + x)];
          const uint32_t colour = want == 'R' ? kRed : want == 'G' ? kGreen : want == 'B' ? kBlue : kClear;
          EXPECT_EQ(PixelAt(*strip, cell * 4 + x, y), colour) << "cell " << cell << " at " << x << "," << y;
        }
    }
  }
}

TEST_F(GifLoaderTest, FramesOutsideTheScreenAreClipped) {
  Frame("a.gif", PatternPicture(10, 10, 7));
  Frame("b.gif", Solid(10, 10, kBlue));
  std::vector<uint8_t> bytes = Gifsicle("--delay 10 a.gif b.gif b.gif");
  const TGifLayout layout = ReadGifLayout(bytes);
  ASSERT_EQ(layout.Frames.size(), 3u);
  PutWord(bytes, DescriptorOffset(layout.Frames[1]) + 1, 8);    // only two columns on the screen
  PutWord(bytes, DescriptorOffset(layout.Frames[2]) + 3, 500);  // wholly below the screen
  const std::shared_ptr<TBitmapStore> store = Open(bytes);
  ASSERT_TRUE(store);
  const std::shared_ptr<const TBitmap> strip = store->GetMipLevel(0);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const uint32_t first = PixelAt(*strip, x, y);
      EXPECT_EQ(PixelAt(*strip, 10 + x, y), x >= 8 ? kBlue : first);
      EXPECT_EQ(PixelAt(*strip, 20 + x, y), PixelAt(*strip, 10 + x, y));
    }
}

TEST_F(GifLoaderTest, RefusesUnknownTypesAndSizesBeyondTheCap) {
  Frame("a.gif", PatternPicture(10, 10, 7));
  const std::vector<uint8_t> good = Gifsicle("a.gif a.gif a.gif");
  const TGifLayout layout = ReadGifLayout(good);
  ASSERT_TRUE(Open(good));

  std::vector<uint8_t> unknown = good;
  unknown[4] = '8';  // "GIF88a"
  try {
    ReadGifLayout(unknown);
    ADD_FAILURE() << "GIF88a read";
  } catch (const EGifError& error) {
    EXPECT_STREQ(error.what(), "Unknown/Unsupported GIF image type");
  }
  std::vector<uint8_t> wideScreen = good;  // three cells of 10000 make a strip wider than allowed
  PutWord(wideScreen, 6, 10000);
  std::vector<uint8_t> wideFrame = good;
  PutWord(wideFrame, DescriptorOffset(layout.Frames[1]) + 5, kMaxPictureSide + 1);
  std::vector<uint8_t> longCodes = good;
  longCodes[layout.Frames[2].DataStart - 1] = 12;
  for (const std::vector<uint8_t>* bytes : {&unknown, &wideScreen, &wideFrame, &longCodes}) {
    std::vector<uint8_t> prefixed = {1, 2, 3};
    prefixed.insert(prefixed.end(), bytes->begin(), bytes->end());
    TMemoryStream stream(prefixed);
    stream.SetPosition(3);
    EXPECT_FALSE(LoadGifPicture(stream, u"x.gif"));
    EXPECT_EQ(stream.GetPosition(), 3);
  }

  std::vector<uint8_t> noScreen = good;  // a screen of 0 x 0 takes the first frame's extent
  PutWord(noScreen, 6, 0);
  PutWord(noScreen, 8, 0);
  const std::shared_ptr<TBitmapStore> store = Open(noScreen);
  ASSERT_TRUE(store);
  EXPECT_EQ(store->Width(), 30);
  EXPECT_EQ(store->Height(), 10);
}

TEST_F(GifLoaderTest, DamagedFilesGiveNothingOrAPicture) {
  Frame("a.gif", PatternPicture(30, 20, 200), "-interlace GIF");
  Frame("b.gif", WithHoles(PatternPicture(30, 20, 9)));
  const std::vector<uint8_t> good =
      Gifsicle("--disposal=background a.gif --disposal=previous b.gif --disposal=asis a.gif b.gif");
  // Cut inside the last frame's pixels: every frame stays, the last one drawn in part.
  const std::vector<uint8_t> cut(good.begin(), good.end() - 40);
  const std::shared_ptr<TBitmapStore> store = Open(cut);
  ASSERT_TRUE(store);
  EXPECT_EQ(store->Width(), 120);
  int opened = 0;
  for (const std::vector<uint8_t>& bytes : DamagedCopies(good, 11)) opened += DecodesEveryLevel(LoadGifPicture, bytes);
  EXPECT_GT(opened, 50);
}

}  // namespace
}  // namespace kiv
