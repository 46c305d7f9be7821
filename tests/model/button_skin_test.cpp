#include "model/button_skin.h"

#include <gtest/gtest.h>

#include <map>

#include "base/memory_stream.h"
#include "model/button_skin_catalog.h"
#include "model/slide_host.h"
#include "support/project_text.h"

namespace kiv {
namespace {

// Show files held in memory; counts how often each name is opened.
class TMemoryFileSource : public TFileSource {
 public:
  std::unique_ptr<TStream> OpenStream(std::u16string_view name) override {
    ++Opens[std::u16string(name)];
    const auto file = Files.find(std::u16string(name));
    if (file == Files.end()) return nullptr;
    return std::make_unique<TMemoryStream>(std::vector<uint8_t>(file->second.begin(), file->second.end()));
  }
  std::map<std::u16string, std::string> Files;
  std::map<std::u16string, int> Opens;
};

constexpr std::string_view kGlassSkin =
    "[NormalState]\n"
    "LeftTop=glass.png,0,0,8,8\n"
    "Top=glass.png,8,0,56,6\n"
    "RightTop=glass.png,56,0,64,8\n"
    "Right=glass.png,54,8,64,24\n"
    "RightBottom=glass.png,56,24,64,32\n"
    "Bottom=glass.png,8,27,56,32\n"
    "LeftBottom=glass.png,0,24,8,32\n"
    "Left=glass.png,0,8,12,24\n"
    "Center=glass.png,12,8,54,24\n"
    "[HoverState]\n"
    "Center=glass hover.png,1,x,3\n"
    "[TextParams]\n"
    "Color=20,40,60\n"
    "BtnOffset=2.5\n"
    "BtnMinWidth=150\n"
    "Filtering=bilinear\n";

constexpr std::string_view kAquaSkin = "[ClickState]\nCenter=aqua.png,1,2,3,4\n";

TEST(ButtonSkin, PartsAndCaptionSettings) {
  auto file = ParseProject(kGlassSkin);
  const TButtonSkin skin = ReadButtonSkin(*file, u"Glass");
  EXPECT_EQ(skin.Theme, u"Glass");
  const TButtonSkinState& normal = skin.State(TButtonState::Normal);
  EXPECT_EQ(normal.Piece(TSkinPart::LeftTop), (TSkinPiece{u"glass.png", 0, 0, 8, 8}));
  EXPECT_EQ(normal.Piece(TSkinPart::Center), (TSkinPiece{u"glass.png", 12, 8, 54, 24}));
  EXPECT_EQ(normal.Piece(TSkinPart::LeftBottom), (TSkinPiece{u"glass.png", 0, 24, 8, 32}));
  // From the right edge of "Left" to the width less the width of "Right"; from the
  // bottom of "Top" to the height less the height of "Bottom".
  EXPECT_EQ(normal.CaptionArea(200, 40), (TRect{12, 6, 190, 35}));

  // Missing and invalid numbers count as 0; missing parts and states are empty.
  EXPECT_EQ(skin.State(TButtonState::Hover).Piece(TSkinPart::Center), (TSkinPiece{u"glass hover.png", 1, 0, 3, 0}));
  EXPECT_EQ(skin.State(TButtonState::Hover).Piece(TSkinPart::Top), TSkinPiece{});
  EXPECT_EQ(skin.State(TButtonState::Click).Piece(TSkinPart::Left), TSkinPiece{});

  EXPECT_EQ(skin.TextColor, MakeColor(20, 40, 60));
  EXPECT_DOUBLE_EQ(skin.BtnOffset, 2.5);
  EXPECT_DOUBLE_EQ(skin.BtnMinWidth, 150);
  EXPECT_EQ(skin.Filtering, TFiltering::Bilinear);

  auto bare = ParseProject("");
  const TButtonSkin defaults = ReadButtonSkin(*bare, u"Bare");
  EXPECT_EQ(defaults.TextColor, MakeColor(0, 0, 0));
  EXPECT_EQ(defaults.BtnOffset, 0);
  EXPECT_EQ(defaults.BtnMinWidth, 0);
  EXPECT_EQ(defaults.Filtering, TFiltering::Default);
}

TEST(ButtonSkin, CatalogReadsEachThemeOnceAndFallsBackToAqua) {
  auto source = std::make_shared<TMemoryFileSource>();
  source->Files[u"Skins\\Glass\\btn.ini"] = kGlassSkin;
  source->Files[u"Skins\\aqua\\btn.ini"] = kAquaSkin;
  source->Files[u"Skins\\Broken\\btn.ini"] = "\xEF\xBB\xBF[NormalState]\nTop=\xFF\xFE\n";
  const TFileAccessor accessor(source, u"/show/");
  TButtonSkinCatalog catalog(accessor, u"Skins\\");

  const auto glass = catalog.Skin(u"Glass");
  ASSERT_NE(glass, nullptr);
  EXPECT_EQ(glass->Theme, u"Glass");
  EXPECT_EQ(catalog.Skin(u"Glass"), glass);
  EXPECT_EQ(source->Opens[u"Skins\\Glass\\btn.ini"], 1);

  // A theme the show does not carry, or whose file cannot be read, takes the aqua skin.
  const auto missing = catalog.Skin(u"Chrome");
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(missing->Theme, u"aqua");
  EXPECT_EQ(missing->State(TButtonState::Click).Piece(TSkinPart::Center), (TSkinPiece{u"aqua.png", 1, 2, 3, 4}));
  EXPECT_EQ(catalog.Skin(u"Broken"), missing);
  EXPECT_EQ(catalog.Skin(u"aqua"), missing);
  catalog.Skin(u"Chrome");
  EXPECT_EQ(source->Opens[u"Skins\\Chrome\\btn.ini"], 1);
  EXPECT_EQ(source->Opens[u"Skins\\aqua\\btn.ini"], 1);

  // The buttons of every slide of a view share one reading of each skin file.
  TFileAccessor hostFiles(source, u"/show/");
  TKivSlideHost host(&hostFiles, {});
  host.SetButtonPath(u"Skins\\");
  EXPECT_EQ(host.ButtonSkin(u"Glass"), host.ButtonSkin(u"Glass"));
  EXPECT_EQ(source->Opens[u"Skins\\Glass\\btn.ini"], 2);

  // Without the aqua skin a button has none.
  auto bare = std::make_shared<TMemoryFileSource>();
  const TFileAccessor bareAccessor(bare, u"/show/");
  TButtonSkinCatalog empty(bareAccessor, u"");
  EXPECT_EQ(empty.Skin(u"Glass"), nullptr);
  EXPECT_EQ(empty.Skin(u"Glass"), nullptr);
  EXPECT_EQ(bare->Opens[u"Glass\\btn.ini"], 1);
  EXPECT_EQ(bare->Opens[u"aqua\\btn.ini"], 1);
}

}  // namespace
}  // namespace kiv
