#include "model/nav_bar.h"

#include <gtest/gtest.h>


#include "base/errors.h"
#include "base/file_stream.h"
#include "base/memory_stream.h"
#include "base/text.h"
#include "graphics/picture_loaders.h"
#include "ini/ini_file.h"
#include "model/nav_action.h"
#include "model/nav_test_support.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

class NavBarTest : public TempFolderTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeNavTextures(folder));
  }

  void Parse(std::string_view text, TIniFile& ini) {
    TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
    ASSERT_TRUE(ini.LoadFromStream(stream));
  }

  TNavBar::TCallbacks Callbacks() {
    return {[this](int32_t index) { Clicks.push_back(index); }, [this] { return Playing; }, nullptr,
            [this](std::u16string_view name) -> std::shared_ptr<const TBitmap> {
              TFileStream stream((folder / Utf16ToUtf8(name)).string(), TFileMode::OpenRead);
              return LoadBitmapStore(stream, name)->GetMipLevel(0, TPixelFormat::Bgra32);
            }};
  }

  // The picture's colour at (x, y) as 0xRRGGBB.
  static uint32_t ColourAt(const TNavBar& bar, int32_t x, int32_t y) {
    const uint8_t* p = bar.Picture()->Row(y) + size_t(x) * 4;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
  }

  std::vector<int32_t> Clicks;
  bool Playing = true;
  const std::vector<int32_t> kBoth{0, 1};
};

TEST_F(NavBarTest, TheMiddleCellGrowsToHoldTheButtonsWhileTheCornersKeepTheirSize) {
  TIniFile ini;
  Parse(kNavTestSkin, ini);
  TNavBar bar(Callbacks());
  bar.LoadSkin(ini);
  EXPECT_EQ(bar.Actions(), (std::vector<std::u16string>{u"home", u"pause"}));
  bar.SetButtons(kBoth);
  // Width 4 + 5 + (20 + 2) + (20 + 0) = 51, height 3 + 2 + 16 = 21.
  EXPECT_EQ(bar.Size(), (TPixelSize{71, 41}));
  EXPECT_EQ(bar.Cell(1, 1).Rect(), (TRect{0, 0, 10, 10}));
  EXPECT_EQ(bar.Cell(2, 1).Rect(), (TRect{10, 0, 61, 10}));
  EXPECT_EQ(bar.Cell(2, 2).Rect(), (TRect{10, 10, 61, 31}));
  EXPECT_EQ(bar.Cell(1, 2).Rect(), (TRect{0, 10, 10, 31}));
  EXPECT_EQ(bar.Cell(3, 3).Rect(), (TRect{61, 31, 71, 41}));
  EXPECT_EQ(bar.Button(0).Rect(), (TRect{14, 13, 34, 29}));
  EXPECT_EQ(bar.Button(1).Rect(), (TRect{36, 13, 56, 29}));
  EXPECT_EQ(ColourAt(bar, 70, 40), 0xFF0000u);  // the grid
  EXPECT_EQ(ColourAt(bar, 14, 13), 0x808080u);  // a background
  EXPECT_EQ(ColourAt(bar, 46, 21), 0x00FF00u);  // the pause image, centred

  Playing = false;
  bar.UpdatePlayState();
  EXPECT_EQ(ColourAt(bar, 46, 21), 0x0000FFu) << "a paused show shows the Play image";
  Playing = true;
  bar.UpdatePlayState();
  EXPECT_EQ(ColourAt(bar, 46, 21), 0x00FF00u);
}

TEST_F(NavBarTest, AClickFiresOnlyWhenReleasedOverThePressedButton) {
  TIniFile ini;
  Parse(kNavTestSkin, ini);
  TNavBar bar(Callbacks());
  bar.LoadSkin(ini);
  bar.SetButtons(kBoth);
  bar.MouseEvent(kNavMouseMove, 0, 0, 20, 20);
  EXPECT_EQ(bar.Button(0).State, kNavHover);
  bar.MouseEvent(kNavMouseDown, kNavLeftButton, 0, 20, 20);
  EXPECT_EQ(bar.Button(0).State, kNavPressed);
  bar.MouseEvent(kNavMouseMove, 0, 0, 40, 20);  // onto the other button: nothing pressed there
  EXPECT_EQ(bar.Button(0).State, kNavNormal);
  EXPECT_EQ(bar.Button(1).State, kNavNormal);
  bar.MouseEvent(kNavMouseUp, kNavLeftButton, 0, 40, 20);
  EXPECT_TRUE(Clicks.empty());
  EXPECT_EQ(bar.Button(1).State, kNavHover);

  bar.MouseEvent(kNavMouseDown, kNavLeftButton, 0, 20, 20);
  bar.MouseEvent(kNavMouseMove, 0, 0, 200, 200);
  bar.MouseEvent(kNavMouseMove, 0, 0, 21, 20);
  bar.MouseEvent(kNavMouseUp, kNavLeftButton, 0, 21, 20);
  EXPECT_EQ(Clicks, (std::vector<int32_t>{0}));

  bar.SetDisabled(0, true);
  bar.MouseEvent(kNavMouseDown, kNavLeftButton, 0, 20, 20);
  bar.MouseEvent(kNavMouseUp, kNavLeftButton, 0, 20, 20);
  EXPECT_EQ(Clicks.size(), 1u) << "a disabled button neither changes nor clicks";
  EXPECT_EQ(bar.Button(0).State, kNavDisabled);
}

// Faulty skins are refused with a message, before anything is allocated.
TEST_F(NavBarTest, FaultySkinsAreRefusedWithTheirMessage) {
  struct TCase {
    const char16_t* Section;
    const char16_t* Key;
    const char16_t* Value;
    std::string Message;
  };
  const TCase cases[] = {
      {u"CellWithObjects", u"Cell", u"2", "Incorrect number of parameters in field \"Cell\""},
      {u"Cell(2:1)", u"Bounds", u"0,0,10", "Incorrect number of parameters in field \"Bounds\" in [Cell(2:1)]"},
      {u"Action-Pause", u"BtnTextureHoverBounds", u"1,2",
       "Bounds should contains 4 values. For example: BtnTextureNormalBounds=0,0,20,20. But KIV found only 2 values."},
      {u"Objects", u"Count", u"0", "The navigation bar skin has no buttons"},
      {u"CellWithObjects", u"Cell", u"4,2", "The cell with the buttons (4,2) is outside the grid of 3 x 3 cells"},
      {u"Cell(1:1)", u"Bounds", u"0,0,0,10", "The piece \"Bounds\" in [Cell(1:1)] has no pixels: 0 x 10"},
      {u"Action-Pause", u"BgTextureNormalBounds", u"0,0,20,-1",
       "The piece \"BgTextureNormalBounds\" in [Action-pause] has no pixels: 20 x -1"},
      {u"Common", u"ColsCount", u"100000", "The grid of the navigation bar skin has 100000 x 3 cells; each side needs 1 to 64"},
      {u"Object1", u"Space", u"20000", "The cell with the buttons would be 20049 x 21 pixels, more than a picture may hold"},
  };
  for (const TCase& c : cases) {
    TIniFile ini;
    Parse(kNavTestSkin, ini);
    ini.WriteString(c.Section, c.Key, c.Value);
    TNavBar bar(Callbacks());
    try {
      bar.LoadSkin(ini);
      bar.SetButtons(kBoth);
      ADD_FAILURE() << "accepted: " << c.Message;
    } catch (const EKivError& error) {
      EXPECT_EQ(error.what(), c.Message);
    }
  }
}

// Every button of the bar, found in any case, and what it asks the player to do.
TEST(NavActionTest, EachButtonCarriesOutItsAction) {
  struct TCase {
    std::u16string_view Name;
    int32_t SkinType;
    TKivActionInfo Action;
  };
  const TCase cases[] = {
      {u"Home", 1, {kActionGoToSlide, 0, {}}}, {u"BACKWARD", 2, {kActionPrevSlide, 0, {}}},
      {u"forward", 3, {kActionNextSlide, 0, {}}}, {u"Pause", 4, {kActionPause, 0, {}}},
      {u"print", 5, {kActionPrint, 0, {}}},      {u"help", 6, {kActionHelp, 0, {}}},
      {u"Exit", 7, {kActionExit, 0, {}}},        {u"rewind", 0, {}},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(NavSkinActionType(c.Name), c.SkinType) << Utf16ToUtf8(c.Name);
    EXPECT_EQ(NavCommandAction(c.Name), c.Action) << Utf16ToUtf8(c.Name);
  }
  EXPECT_EQ(std::size(cases) - 1, kNavActions.size());
}

}  // namespace
}  // namespace kiv
