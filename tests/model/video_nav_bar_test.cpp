#include "model/video_nav_bar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/errors.h"
#include "base/file_stream.h"
#include "graphics/picture_loaders.h"
#include "base/memory_stream.h"
#include "ini/ini_file.h"
#include "model/nav_bar.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

std::unique_ptr<TIniFile> ParseIniText(const std::string& text) {
  auto ini = std::make_unique<TIniFile>();
  TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
  ini->LoadFromStream(stream);
  return ini;
}

// A skin of an 800 × 40 bar, its pictures made by ImageMagick: a grey back, a track
// line, a slider of 12 × 20 and strips of six 32 × 32 buttons (red normal, green hover,
// blue pressed).
const char* const kSkin =
    "[Common]\nflnm_back=back.png\nBgLeft=4\nBgRight=4\n"
    "[Pixel positions]\nBarSize=800,40\nTrackHeight=10\nBtnSize=32,32\nDigitSize=10,20\nVolumeControlLength=%V\n"
    "LeftSpace=4\nButtonsTrackSpace=8\nTrackDigitsSpace=6\nDigitsSoundBtnSpace=6\nSoundBtnTrackSpace=6\nRightSpace=4\n"
    "[Trackbar]\nTrackLineLeft=2\nTrackLineRight=2\nflnm_Line=line.png\nflnm_Polzun=slider.png\n"
    "[Buttons]\nflnm_Normal=normal.png\nflnm_Hover=hover.png\nflnm_Click=click.png\n";

class VideoNavBarTest : public TempFolderTest {
 protected:
  void SetUp() override {
    for (const char* picture : {"-size 16x40 xc:gray40 back.png", "-size 8x10 xc:white line.png",
                                "-size 12x20 xc:yellow slider.png", "-size 192x32 xc:red normal.png",
                                "-size 192x32 xc:lime hover.png", "-size 192x32 xc:blue click.png"})
      ASSERT_EQ(std::system(("cd '" + folder.string() + "' && convert " + picture).c_str()), 0);
  }

  std::unique_ptr<TVideoNavBar> Bar(int32_t width, double durationMs = 60000, int volumeLength = 100) {
    std::string skin = kSkin;
    skin.replace(skin.find("%V"), 2, std::to_string(volumeLength));
    FIni = ParseIniText(skin);
    TVideoNavBar::TCallbacks callbacks;
    callbacks.IsPlaying = [this] { return Playing; };
    callbacks.Duration = [durationMs] { return durationMs; };
    callbacks.Click = [this](int32_t index) { Clicks.push_back(index); };
    callbacks.Seek = [this](double ms) { Seeks.push_back(ms); };
    callbacks.Volume = [this](double volume) { Volumes.push_back(volume); };
    callbacks.AfterPaint = [this](const TRect&) { ++Paints; };
    callbacks.LoadImage = [this](std::u16string_view name) -> std::shared_ptr<const TBitmap> {
      TFileStream stream((folder / std::filesystem::path(name)).string(), TFileMode::OpenRead);
      return LoadBitmapStore(stream, name)->GetMipLevel(0, TPixelFormat::Bgra32);
    };
    auto bar = std::make_unique<TVideoNavBar>(callbacks);
    bar->LoadSkin(*FIni, u"skin/");
    bar->SetWidth(width);
    const int32_t chosen[] = {0, 1};
    bar->SetButtons(chosen);
    bar->FitHeight(40);
    return bar;
  }

  bool Playing = true;
  std::vector<int32_t> Clicks;
  std::vector<double> Seeks, Volumes;
  int Paints = 0;

 private:
  std::unique_ptr<TIniFile> FIni;
};

TEST_F(VideoNavBarTest, LayoutFollowsWidthHoursAndFitsByHalvingOrHides) {
  struct {
    int32_t Width;
    double Duration;
    bool Hidden;
    double Scale;
    int32_t T0, T1;
  } const cases[] = {
      {800, 60000, false, 1, 108, 532},     // 4 + 3 buttons + 8 … 652 - 12 digits
      {800, 7200000, false, 1, 108, 472},   // two hours: 6 digits more
      {400, 60000, false, 0.5, 60, 258},    // too tight at full scale: halved once
      {300, 60000, true, 1, 108, 32},       // no room for the track at all
  };
  for (const auto& c : cases) {
    auto bar = Bar(c.Width, c.Duration);
    const TVideoNavBar::TLayout layout = bar->Layout();
    EXPECT_EQ(bar->Hidden(), c.Hidden) << c.Width;
    EXPECT_EQ(bar->Scale(), c.Scale) << c.Width;
    EXPECT_EQ(layout.T0, c.T0) << c.Width;
    EXPECT_EQ(layout.T1, c.T1) << c.Width;
    EXPECT_EQ(bar->Hours(), c.Duration >= 3600000);
  }
  TVideoNavBar::TCallbacks none;
  none.LoadImage = [](std::u16string_view) { return nullptr; };
  EXPECT_THROW(TVideoNavBar(none).LoadSkin(*ParseIniText(kSkin), u"skin"), EKivError);
}

TEST_F(VideoNavBarTest, DraggingTheTimeSeeksWithTheShowPausedAndAClickOnTheTrackSeeksToo) {
  auto bar = Bar(800);
  bar->UpdateTime(30000);
  const TVideoNavBar::TLayout l = bar->Layout();
  EXPECT_EQ(bar->TimeSliderCentre(), l.T0 + 6 + (l.T1 - 12 - l.T0) / 2);
  EXPECT_EQ(bar->DigitsText(), "00:30/01:00");
  bar->MouseEvent(kNavMouseDown, kNavLeftButton, bar->TimeSliderCentre(), 20);
  EXPECT_EQ(Clicks, std::vector<int32_t>{-1});  // paused for the drag
  bar->MouseEvent(kNavMouseMove, 0, l.T1, 20);
  bar->UpdateTime(1000);  // the show's time does not move the slider under the pointer
  EXPECT_DOUBLE_EQ(bar->Time(), 60000);
  bar->MouseEvent(kNavMouseUp, kNavLeftButton, l.T0, 20);
  EXPECT_EQ(Clicks, (std::vector<int32_t>{-1, -1}));  // playing again
  EXPECT_EQ(Seeks, (std::vector<double>{60000, 0}));
  // A plain click further along the track seeks there.
  bar->MouseEvent(kNavMouseDown, kNavLeftButton, l.T0 + 6 + (l.T1 - 12 - l.T0) / 4, 20);
  bar->MouseEvent(kNavMouseUp, kNavLeftButton, l.T0 + 6 + (l.T1 - 12 - l.T0) / 4, 20);
  EXPECT_NEAR(Seeks.back(), 15000, 200);
}

TEST_F(VideoNavBarTest, ButtonsPlayMuteAndChooseWhileAHiddenBarIgnoresEverything) {
  auto bar = Bar(800);
  const TVideoNavBar::TLayout l = bar->Layout();
  bar->UpdateVolume(0.6);
  for (int i = 0; i < 2; ++i) {
    bar->MouseEvent(kNavMouseDown, kNavLeftButton, l.SoundX + 5, 20);
    bar->MouseEvent(kNavMouseUp, kNavLeftButton, l.SoundX + 5, 20);
  }
  EXPECT_EQ(Volumes, (std::vector<double>{0, 0.6}));  // muted, then the volume before
  bar->MouseEvent(kNavMouseDown, kNavLeftButton, 4 + 5, 20);
  EXPECT_TRUE(bar->Paused());
  bar->MouseEvent(kNavMouseUp, kNavLeftButton, 4 + 5, 20);
  bar->MouseEvent(kNavMouseDown, kNavLeftButton, 4 + 2 * 32 + 5, 20);  // "forward"
  EXPECT_EQ(Clicks, (std::vector<int32_t>{-1, 1}));
  // The play button shows the pressed strip (blue) while held.
  const uint8_t* pixel = bar->Picture()->Row(20) + (4 + 2 * 32 + 5) * 4;
  EXPECT_GT(pixel[0], 200);
  EXPECT_LT(pixel[2], 50);

  auto hidden = Bar(300);
  hidden->MouseEvent(kNavMouseDown, kNavLeftButton, 9, 20);
  hidden->UpdateTime(5000);
  EXPECT_EQ(Clicks.size(), 2u);
  EXPECT_DOUBLE_EQ(hidden->Time(), 0);
}

TEST_F(VideoNavBarTest, VolumeTrackSetsTheVolumeAndOneWithoutLengthNeverDividesByIt) {
  auto bar = Bar(800);
  const TVideoNavBar::TLayout l = bar->Layout();
  bar->MouseEvent(kNavMouseDown, kNavLeftButton, l.V1 - 6, 20);
  bar->MouseEvent(kNavMouseUp, kNavLeftButton, l.V1 - 6, 20);
  EXPECT_DOUBLE_EQ(Volumes.back(), 1);
  auto flat = Bar(800, 60000, 0);
  const TVideoNavBar::TLayout f = flat->Layout();
  flat->MouseEvent(kNavMouseDown, kNavLeftButton, f.V0, 20);
  flat->MouseEvent(kNavMouseUp, kNavLeftButton, f.V0, 20);
  EXPECT_DOUBLE_EQ(Volumes.back(), 0);
  // Only what changed is drawn again: a second within the same slider place redraws nothing.
  const int paints = Paints;
  bar->UpdateTime(5000);
  bar->UpdateTime(5001);
  EXPECT_EQ(Paints, paints + 1);
}

}  // namespace
}  // namespace kiv
