// Pictures through the accessor: made by providers, shared per source, decoded once
// under concurrent requests, and the placeholder for what cannot be had.
#include <atomic>
#include <thread>

#include "base/memory_stream.h"
#include "base/text.h"
#include "container/placeholder_picture.h"
#include "container/file_accessor.h"
#include "container_test_support.h"
#include "ini/ini_file.h"
#include "support/bytes.h"
#include "support/pixels.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

std::shared_ptr<TBitmapStore> SolidPicture(int width, int height) {
  return std::make_shared<TWrapperBitmapStore>(std::make_unique<TBitmap>(width, height, TPixelFormat::Bgra32));
}

class SharedPicturesTest : public TempFolderTest {
 protected:
  std::shared_ptr<TRealFileSource> source = std::make_shared<TRealFileSource>();
  TFileAccessor Accessor() { return TFileAccessor(source, Utf8ToUtf16(folder.string()) + u"/"); }
};

TEST_F(SharedPicturesTest, MissingAndUndecodablePicturesGetThePlaceholder) {
  PutFileBytes(folder / "garbage.jpg", {1, 2, 3, 4, 5});
  for (const std::u16string& name : {std::u16string(u"C:\\Nowhere\\photo.jpg"), Utf8ToUtf16((folder / "garbage.jpg").string())}) {
    const std::shared_ptr<TBitmapStore> picture = Accessor().LoadPicture(name)->Store();
    ASSERT_NE(picture, nullptr);
    TBitmapStore& store = *picture;
    EXPECT_EQ(store.Width(), 320);
    EXPECT_EQ(store.Height(), 240);
    EXPECT_EQ(PixelAt(store, 0, 0), 0xFFFFFF00u);      // yellow frame
    EXPECT_EQ(PixelAt(store, 160, 235), 0xFF0000FFu);  // on blue
    // Inside, the four lines in yellow (small when a long folder must fit).
    int yellow = 0;
    for (int y = 8; y < 232; ++y)
      for (int x = 8; x < 312; ++x) yellow += ColoursNear(PixelAt(store, x, y), 0xFFFFFF00u, 100);
    EXPECT_GT(yellow, 300);
  }
}

TEST(PlaceholderLines, SayWhatIsMissingAndWhere) {
  using TLines = std::vector<std::u16string>;
  EXPECT_EQ(PlaceholderLines(u"C:\\Photos\\Trip/img01.jpg", false, false),
            (TLines{u"Image not found:", u"img01.jpg", u"Path:", u"C:\\Photos\\Trip/"}));
  EXPECT_EQ(PlaceholderLines(u"bare.png", true, false), (TLines{u"Image load error:", u"bare.png", u"Path:", u""}));
  EXPECT_EQ(PlaceholderLines(u"clips/a.avi", false, true), (TLines{u"Video not found:", u"a.avi", u"Path:", u"clips/"}));
  EXPECT_EQ(PlaceholderLines(u"clips/a.avi", true, true)[0], u"Video load error:");
}

TEST_F(SharedPicturesTest, OnePicturePerNameAndSourceDecodedOnceForConcurrentRequests) {
  std::atomic<int> made{0};
  source->AddPictureProvider([&](std::u16string_view name) -> std::shared_ptr<TBitmapStore> {
    if (!SameTextIgnoringCase(name, u"Text: Hello")) return nullptr;
    ++made;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let the other threads pile up
    return SolidPicture(64, 32);
  });
  const size_t liveBefore = LiveImageHandles();
  {
    TFileAccessor accessor = Accessor();
    std::vector<std::unique_ptr<accessor::TKivImage>> pictures(8);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < pictures.size(); ++i)
      threads.emplace_back([&, i] { pictures[i] = accessor.LoadPicture(i % 2 ? u"Text: Hello" : u"TEXT: HELLO"); });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(made, 1);
    for (const auto& picture : pictures) {
      ASSERT_NE(picture, nullptr);
      EXPECT_EQ(picture->Store(), pictures[0]->Store());
    }
    EXPECT_EQ(pictures[0]->Store()->Width(), 64);
    EXPECT_EQ(LiveImageHandles(), liveBefore + 1);

    // Another source has pictures of its own.
    auto other = std::make_shared<TRealFileSource>();
    TFileAccessor otherAccessor(other, u"/");
    EXPECT_NE(otherAccessor.LoadPicture(u"Text: Hello")->Store(), pictures[0]->Store());
  }
  // When the last picture handle goes, so does its table entry; a later request decodes anew.
  EXPECT_EQ(LiveImageHandles(), liveBefore);
  Accessor().LoadPicture(u"Text: Hello");
  EXPECT_EQ(made, 2);
}

// RotationState of the project reaches the decoded picture: a 40x20 BMP written by
// ImageMagick, red on the left half, comes out standing for orientation 6 and 8 and
// upside down for 3.
TEST_F(SharedPicturesTest, RecordedOrientationsTurnTheDecodedPicture) {
  const std::string command = "convert -size 20x20 xc:red -size 20x20 xc:blue +append BMP3:'" +
                              (folder / "wide.bmp").string() + "' 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* name : {"up.bmp", "six.bmp", "eight.bmp", "three.bmp"})
    std::filesystem::copy_file(folder / "wide.bmp", folder / name);
  const std::string text = "[RotationState]\r\n;\"six.bmp\"=6\r\n;\"EIGHT.bmp\"=8\r\n;\"three.bmp\"=3\r\n";
  TIniFile project;
  TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
  project.LoadFromStream(stream);
  auto mapped = std::make_shared<TMappedFileSource>(Utf8ToUtf16(folder.string()) + u"/");
  mapped->LoadMaps(project);
  TFileAccessor accessor(mapped, Utf8ToUtf16(folder.string()) + u"/");

  struct TExpected {
    const char16_t* Name;
    int Width, Height;
    int RedX, RedY;  // a pixel that must be red
  };
  for (const TExpected& expected : {TExpected{u"up.bmp", 40, 20, 5, 10}, TExpected{u"six.bmp", 20, 40, 10, 5},
                                    TExpected{u"eight.bmp", 20, 40, 10, 35}, TExpected{u"three.bmp", 40, 20, 35, 10}}) {
    SCOPED_TRACE(Utf16ToUtf8(expected.Name));
    const std::shared_ptr<TBitmapStore> picture = accessor.LoadPicture(expected.Name)->Store();
    TBitmapStore& store = *picture;
    EXPECT_EQ(store.Width(), expected.Width);
    EXPECT_EQ(store.Height(), expected.Height);
    EXPECT_EQ(PixelAt(store, expected.RedX, expected.RedY), 0xFFFF0000u);
  }
}

}  // namespace
}  // namespace kiv
