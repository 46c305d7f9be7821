#include "model/nav_panel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/text.h"
#include "model/nav_test_support.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

class NavPanelTest : public TempFolderTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder / "nav");
    ASSERT_TRUE(MakeNavTextures(folder / "nav"));
  }

  // The panel of the test skin, with extra keys for its "Common" section, on an 800 x 600 layer.
  std::unique_ptr<TNavPanel> Panel(std::string_view common = "", TNavPanelOptions options = {}) {
    std::ofstream(folder / "nav" / "panel.ini") << "[Common]\n" << common << "\n" << kNavTestSkin;
    options.IniFile = u"nav/panel.ini";
    auto panel = std::make_unique<TNavPanel>(Files, std::move(options), [] { return true; });
    EXPECT_TRUE(panel->Load({800, 600}, {800, 600})) << panel->Error();
    return panel;
  }

  TFileAccessor Files{std::make_shared<TRealFileSource>(Utf8ToUtf16(folder.string() + "/")), u""};
};

TEST_F(NavPanelTest, PlacesTheBarAtItsPositionAndHeight) {
  const auto centred = Panel();
  EXPECT_FALSE(centred->VideoStyle()) << "no \"VideoStyle\": the default bar";
  // 10 % of 600 is 60 pixels high, 60 * 71 / 41 = 104 wide, in the middle.
  EXPECT_EQ(centred->Rect(), (TRect{348, 270, 452, 330}));
  TNavPanelOptions options;
  options.Position = PanelPositionIndex(u"right-bottom");
  options.Offset = 10;
  options.SizePercent = 20;
  EXPECT_EQ(Panel("", options)->Rect(), (TRect{552, 450, 760, 570}));
}

// A click at the home button's place on the layer goes to the first slide; the pointer
// over the panel alone carries out nothing.
TEST_F(NavPanelTest, AClickOnAButtonGivesItsAction) {
  TNavPanelOptions options;
  options.ExtraButtons = {u"rewind", u"home"};  // one the bar does not know: left out
  const auto panel = Panel("", options);
  ASSERT_EQ(panel->Bar()->ButtonCount(), 2u);
  // The home button (bar pixels 14 … 33, 13 … 28) lies at 348 + 24 * 104 / 71 on the layer.
  const int32_t x = 348 + 24 * 104 / 71, y = 270 + 20 * 60 / 41;
  EXPECT_EQ(panel->Mouse(kNavMouseMove, 0, x, y).Action, TKivActionInfo{});
  EXPECT_TRUE(panel->HasMouse());
  EXPECT_EQ(panel->Mouse(kNavMouseDown, kNavLeftButton, x, y).Action, TKivActionInfo{});
  const TNavPanelAnswer up = panel->Mouse(kNavMouseUp, kNavLeftButton, x, y);
  EXPECT_EQ(up.Action, (TKivActionInfo{kActionGoToSlide, 0, {}}));
  EXPECT_TRUE(up.HasMouse);
  EXPECT_FALSE(panel->Mouse(kNavMouseMove, 0, 10, 10).HasMouse);
}

TEST_F(NavPanelTest, AClickBesideTheButtonsOfAVideoStyleBarPausesTheShow) {
  const auto panel = Panel("VideoStyle=1");
  ASSERT_TRUE(panel->VideoStyle());
  EXPECT_EQ(panel->Rect(), (TRect{364, 559, 435, 600})) << "at the bottom, at its own size";
  panel->Mouse(kNavMouseDown, kNavLeftButton, 366, 560);
  EXPECT_EQ(panel->Mouse(kNavMouseUp, kNavLeftButton, 366, 560).Action, (TKivActionInfo{kActionPause, 0, {}}));
}

// The media-player skin (no pictures: the layout alone) along the bottom of the layer, at
// 10 % of its height: the play button pauses, a click on the time track seeks the show,
// the sound button mutes it, and the digits follow the show's time.
TEST_F(NavPanelTest, AVideoStyleDescriptionWithTheMediaPlayerSkinGivesTheVideoBar) {
  std::ofstream(folder / "nav" / "video.ini")
      << "[Common]\nVideoStyle=1\n[Pixel positions]\nBarSize=800,40\nTrackHeight=10\nBtnSize=32,32\n"
         "DigitSize=10,20\nVolumeControlLength=100\nLeftSpace=4\nRightSpace=4\n";
  TNavPanelOptions options;
  options.IniFile = u"nav/video.ini";
  options.ExtraButtons = {u"forward", u"home"};  // the video bar has no "home"
  std::vector<int32_t> seeks;
  std::vector<float> volumes;
  TNavPanel panel(Files, options, [] { return true; });
  panel.SetShow({90000, 0.5, [&](float volume) { volumes.push_back(volume); }, [&](int32_t ms) { seeks.push_back(ms); }});
  ASSERT_TRUE(panel.Load({800, 600}, {800, 600})) << panel.Error();
  ASSERT_TRUE(panel.VideoBar());
  EXPECT_EQ(panel.VideoBar()->ChosenCount(), 1);
  EXPECT_EQ(panel.Rect(), (TRect{0, 540, 800, 600}));  // 60 pixels: scale 1.5
  const TVideoNavBar::TLayout l = panel.VideoBar()->Layout();
  // The bar is as wide as the layer: bar and layer pixels are the same across.
  EXPECT_EQ(panel.Mouse(kNavMouseDown, kNavLeftButton, 4 + 10, 570).Action, (TKivActionInfo{kActionPause, 0, {}}));
  panel.Mouse(kNavMouseUp, kNavLeftButton, 4 + 10, 570);
  const int32_t middle = l.T0 + l.Slider / 2 + (l.T1 - l.Slider - l.T0) / 2;
  panel.Mouse(kNavMouseDown, kNavLeftButton, middle, 570);
  panel.Mouse(kNavMouseUp, kNavLeftButton, middle, 570);
  ASSERT_FALSE(seeks.empty());
  EXPECT_NEAR(seeks.back(), 45000, 300);
  panel.Mouse(kNavMouseDown, kNavLeftButton, l.SoundX + 5, 570);
  panel.Mouse(kNavMouseUp, kNavLeftButton, l.SoundX + 5, 570);
  EXPECT_EQ(volumes, std::vector<float>{0});
  panel.Tick(61000);
  EXPECT_EQ(panel.VideoBar()->DigitsText(), "01:01/01:30");
}

TEST_F(NavPanelTest, AMissingOrFaultyDescriptionLeavesThePanelOut) {
  TNavPanelOptions options;
  options.IniFile = u"nav/none.ini";
  TNavPanel missing(Files, options, nullptr);
  EXPECT_FALSE(missing.Load({800, 600}, {800, 600}));
  EXPECT_EQ(missing.Error(), "The navigation panel file \"nav/none.ini\" cannot be read");
  std::ofstream(folder / "nav" / "none.ini") << "[Common]\nColsCount=1\n";
  EXPECT_FALSE(missing.Load({800, 600}, {800, 600}));
  EXPECT_EQ(missing.Error(), "The grid of the navigation bar skin has 1 x 0 cells; each side needs 1 to 64");
  EXPECT_FALSE(missing.Ready());
}

TEST(OverlayPlacementTest, EachPositionLiesWhereItsNameSays) {
  struct TCase {
    int32_t Index;
    TRect Expected;  // a 10 x 20 item in a 100 x 200 rectangle at (1000, 0), offset 10
  };
  const TCase cases[] = {{0, {1005, 10, 1015, 30}},  {1, {1045, 10, 1055, 30}},  {2, {1085, 10, 1095, 30}},
                         {3, {1085, 90, 1095, 110}}, {4, {1085, 170, 1095, 190}}, {5, {1045, 170, 1055, 190}},
                         {6, {1005, 170, 1015, 190}}, {7, {1005, 90, 1015, 110}}, {8, {1045, 90, 1055, 110}}};
  for (const TCase& c : cases)
    EXPECT_EQ(TOverlayPlacement::At(c.Index, 10).Place({10, 20}, {1000, 0, 1100, 200}), c.Expected) << c.Index;
  EXPECT_EQ(LogoPositionIndex(4), kCentrePosition);
  EXPECT_EQ(LogoPositionIndex(0), PanelPositionIndex(u"LEFT"));
  EXPECT_EQ(PanelPositionIndex(u"nowhere"), kCentrePosition);
}

}  // namespace
}  // namespace kiv
