// Printing and saving the slide on screen: the page fitted and turned to the picture and
// sent through a print server of the test's own (cupsd with a queue that writes to a
// file), the main picture found through the show's slide order, and the files saved.
#include "engine/slide_printing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <filesystem>
#include <fstream>

#include "engine/slide_saving.h"
#include "model/show_locator.h"
#include "platform/printers.h"
#include "support/bytes.h"
#include "support/pixels.h"
#include "support/print_server.h"
#include "support/show_source.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

// Four quarters: red, green / blue, white, top left to bottom right.
std::shared_ptr<TBitmap> Quarters(int width, int height) {
  auto picture = std::make_shared<TBitmap>(width, height, TPixelFormat::Bgr24);
  const uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t colour = colours[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
      uint8_t* p = picture->Row(y) + 3 * x;
      p[0] = uint8_t(colour), p[1] = uint8_t(colour >> 8), p[2] = uint8_t(colour >> 16);
    }
  return picture;
}

// The picture file as ImageMagick reads it (Bgr24); null when it cannot.
std::unique_ptr<TBitmap> Decoded(const fs::path& file) {
  int width = 0, height = 0;
  std::istringstream(Output("identify -format '%w %h' '" + file.string() + "' 2>/dev/null")) >> width >> height;
  if (!AllowedPictureSize(width, height)) return nullptr;
  const fs::path raw = file.string() + ".bgr";
  if (std::system(("convert '" + file.string() + "' -depth 8 'bgr:" + raw.string() + "'").c_str()) != 0) return nullptr;
  const std::string bytes = ReadAll(raw);
  if (bytes.size() != size_t(width) * height * 3) return nullptr;
  auto picture = std::make_unique<TBitmap>(width, height, TPixelFormat::Bgr24);
  for (int y = 0; y < height; ++y) std::memcpy(picture->Row(y), bytes.data() + size_t(y) * width * 3, size_t(width) * 3);
  return picture;
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Row(y), b.Row(y), size_t(a.Width()) * 3) != 0) return false;
  return true;
}

TEST(SlidePrinting, FitToPageFillsOneSideKeepsTheProportionsAndCentres) {
  const struct {
    int64_t Width, Height, PageWidth, PageHeight;
    TPagePlace Place;
  } cases[] = {
      {320, 240, 1754, 1239, {51, 0, 1652, 1239}},                           // landscape on landscape
      {240, 320, 1239, 1754, {0, 51, 1239, 1652}},                           // portrait: as wide as the page
      {3000000000, 2000000000, 20000, 15000, {0, 833, 20000, 13333}},        // beyond 32 bits
      {0, 240, 1754, 1239, {}},                                              // no picture
      {320, 240, 0, 1239, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(FitToPage(c.Width, c.Height, c.PageWidth, c.PageHeight), c.Place);
}

class SlideFilesTest : public TempFolderTest {
 protected:
  SlideFilesTest() : TempFolderTest("kiv_print_") {}
  void SetUp() override {
    ASSERT_EQ(std::system(("convert -size 64x48 xc:'#10A040' '" + (folder / "photo.jpg").string() + "' && " +
                           "convert -size 30x50 xc:'#2050F0' '" + (folder / "tall.png").string() + "'")
                              .c_str()),
              0);
    fs::create_directories(folder / "saved");
  }

  // A show of three slides: a JPEG, a PNG and no main picture, played in slide order
  // 2, 1, 3 when shuffled.
  TKivSource& Show(bool shuffled) {
    const fs::path project = folder / (shuffled ? "Shuffled.kiv" : "Project.kiv");
    std::ofstream(project) << "[main]\r\nProjectFilePath=" << project.string() << (shuffled ? "\r\nopt_random=1" : "")
                           << "\r\nopt_slidescount=3\r\n[Slide1]\r\npicture=photo.jpg\r\n"
                           << "[Slide2]\r\npicture=..\\..\\tall.png\r\n[Slide3]\r\n";
    return Located.emplace_back(OpenFromProject(project.u16string()))->Source(u"kivplayer");
  }

  TScriptedRandom Order{{5, 1, 9}};  // keys: slide 2 first, then 1, then 3
  TProcessRandomScope OrderScope{Order};
  std::vector<std::unique_ptr<TKivShowLocator>> Located;
};

TEST_F(SlideFilesTest, TheMainPictureIsTheSlideOnScreenAndIsSavedAsItIsOrAsBmp) {
  const TSlidePictures shuffled(&Show(true), Quarters(32, 24), 0);
  EXPECT_EQ(shuffled.MainPictureName(), u"..\\..\\tall.png");
  // A PNG becomes a BMP of its pixels, under its own name: never in another folder.
  const std::optional<TSlideFile> png = SlideFileToSave(shuffled, true);
  ASSERT_TRUE(png);
  EXPECT_EQ(png->Name, u"tall.bmp");
  std::string path;
  EXPECT_EQ(SaveSlideFile((folder / "saved").string(), u"..\\..\\" + png->Name, png->Bytes, false, &path),
            TSaveOutcome::Saved);
  EXPECT_EQ(fs::path(path), folder / "saved" / "tall.bmp");
  const std::unique_ptr<TBitmap> saved = Decoded(path), original = Decoded(folder / "tall.png");
  ASSERT_TRUE(saved && original);
  EXPECT_TRUE(SamePixels(*saved, *original));
  // Printing only the main picture prints it; without one, the whole slide.
  EXPECT_EQ(PictureToPrint(shuffled, true)->Height(), 50);
  EXPECT_EQ(PictureToPrint(TSlidePictures(&Show(false), Quarters(32, 24), 2), true)->Width(), 32);

  // A JPEG goes byte for byte.
  const TSlidePictures inOrder(&Show(false), Quarters(32, 24), 0);
  const std::optional<TSlideFile> jpeg = SlideFileToSave(inOrder, true);
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->Name, u"photo.jpg");
  EXPECT_EQ(std::string(jpeg->Bytes.begin(), jpeg->Bytes.end()), ReadAll(folder / "photo.jpg"));
}

TEST_F(SlideFilesTest, TheWholeSlideIsSavedAsTheSnapshotAndNothingIsReplacedWithoutAYes) {
  const std::shared_ptr<TBitmap> snapshot = Quarters(40, 30);
  const TSlidePictures pictures(&Show(false), snapshot, 1);
  const std::optional<TSlideFile> file = SlideFileToSave(pictures, false);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Name, u"Slide2.bmp");
  const std::string saved = (folder / "saved").string();
  ASSERT_EQ(SaveSlideFile(saved, file->Name, file->Bytes, false), TSaveOutcome::Saved);
  const std::unique_ptr<TBitmap> read = Decoded(folder / "saved" / "Slide2.bmp");
  ASSERT_TRUE(read);
  EXPECT_TRUE(SamePixels(*read, *snapshot));

  const std::vector<uint8_t> other{'x'};
  EXPECT_EQ(SaveSlideFile(saved, file->Name, other, false), TSaveOutcome::Exists);
  EXPECT_EQ(ReadAll(folder / "saved" / "Slide2.bmp").size(), file->Bytes.size());
  EXPECT_EQ(SaveSlideFile(saved, file->Name, other, true), TSaveOutcome::Saved);
  EXPECT_EQ(ReadAll(folder / "saved" / "Slide2.bmp"), "x");
  // Names that are no file name fall back to one in the folder.
  EXPECT_EQ(FileNamePart(u"a/b\\..", u"Slide.bmp"), u"Slide.bmp");
}

class SlidePrintServerTest : public TempFolderTest {
 protected:
  SlidePrintServerTest() : TempFolderTest("kiv_print_") {}
  void SetUp() override {
    Server = std::make_unique<TPrintServer>(folder);
    if (!Server->Failure().empty()) GTEST_SKIP() << "no print server for the test: " << Server->Failure();
  }
  std::unique_ptr<TPrintServer> Server;
};

TEST_F(SlidePrintServerTest, SlidesPrintAsSlideshowJobsTurnedAndFittedToThePage) {
  const TPrinterList printers = InstalledPrinters();
  ASSERT_EQ(printers.Names, std::vector<std::string>{TPrintServer::kQueue});
  EXPECT_EQ(PrinterPaper(TPrintServer::kQueue).Height, 842);

  int job = 0;
  for (const bool landscape : {true, false}) {
    SCOPED_TRACE(landscape ? "landscape" : "portrait");
    const std::shared_ptr<TBitmap> slide = landscape ? Quarters(320, 240) : Quarters(240, 320);
    ASSERT_EQ(PrintSlide(TSlidePictures(nullptr, slide, 0), {TPrintServer::kQueue, 2, false}), TPrintOutcome::Printed);
    const std::optional<TPrintServer::TJob> printed = Server->WaitForJob(++job, std::chrono::seconds(30));
    ASSERT_TRUE(printed) << "the job did not complete";
    EXPECT_EQ(printed->Title, kPrintJobName);
    EXPECT_NE(printed->Options.find(landscape ? "orientation-requested=4" : "orientation-requested=3"), std::string::npos);
    EXPECT_NE(printed->Options.find("copies=2"), std::string::npos) << printed->Options;
    std::ofstream(folder / "page.png", std::ios::binary) << printed->Document;
    const std::unique_ptr<TBitmap> page = Decoded(folder / "page.png");
    ASSERT_TRUE(page);
    // A4 at 150 dots an inch, turned as the slide is.
    EXPECT_EQ(landscape ? page->Width() : page->Height(), 1754);
    EXPECT_EQ(landscape ? page->Height() : page->Width(), 1239);
    const TPagePlace place = FitToPage(slide->Width(), slide->Height(), page->Width(), page->Height());
    EXPECT_EQ(landscape ? place.Height : place.Width, 1239);
    // Each quarter where the fitted slide has it; white margins beside it.
    for (const auto& [fx, fy] : {std::pair{0.25, 0.25}, {0.75, 0.25}, {0.25, 0.75}, {0.75, 0.75}}) {
      const uint32_t expected = PixelAt(*slide, int(fx * slide->Width()), int(fy * slide->Height()));
      const uint32_t seen = PixelAt(*page, int(place.Left + fx * place.Width), int(place.Top + fy * place.Height));
      EXPECT_TRUE(ColoursNear(seen, expected, 8)) << std::hex << seen << " for " << expected;
    }
    EXPECT_EQ(PixelAt(*page, 2, 2) & 0xFFFFFF, 0xFFFFFFu);
  }
  // A printer the server does not have takes no job.
  EXPECT_EQ(PrintSlide(TSlidePictures(nullptr, Quarters(32, 24), 0), {"nowhere", 1, false}), TPrintOutcome::Failed);
  EXPECT_EQ(PrintSlide(TSlidePictures(nullptr, nullptr, 0), {TPrintServer::kQueue, 1, false}),
            TPrintOutcome::NoPicture);
  EXPECT_EQ(Server->CompletedJobs(), 2);
}

}  // namespace
}  // namespace kiv
