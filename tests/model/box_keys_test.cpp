#include "model/box_keys.h"

#include <gtest/gtest.h>

#include "model/kind_keys_test_support.h"

namespace kiv {
namespace {

TEST(BoxKeys, DefaultsWhenTheSectionSaysNothing) {
  const TParsedObject parsed = ParseObject("box");
  const TBoxKeys keys = ReadBoxKeys(*parsed.Object);
  EXPECT_EQ(keys.Size, (TIniPoint{0, 0}));
  EXPECT_EQ(keys.Fill, TBoxFill::Solid);
  EXPECT_EQ(keys.Color1, MakeColor(0, 0, 0));
  EXPECT_EQ(keys.Color2, MakeColor(0, 0, 0));
  EXPECT_EQ(keys.Alpha1, 255);
  EXPECT_EQ(keys.Alpha2, 255);
  EXPECT_FALSE(keys.Antialiased);
  EXPECT_EQ(BoxPaint(keys), (TBoxPaint{8, MakeColor(0, 0, 0, 255), MakeColor(0, 0, 0, 255)}));
}

TEST(BoxKeys, FramesReadTheSameKeys) {
  const TParsedObject parsed = ParseObject("frame",
                                           "Size=400,300\nFillMode=TLBRGradient\nColor1=255,0,0\nColor2=0,0,255\n"
                                           "Alpha1=128\nAlpha2=300\nAntialiased=1\n");
  const TBoxKeys keys = ReadBoxKeys(*parsed.Object);
  EXPECT_EQ(keys.Size, (TIniPoint{400, 300}));
  EXPECT_EQ(keys.Fill, TBoxFill::TLBRGradient);
  EXPECT_EQ(keys.Color1, MakeColor(255, 0, 0));
  EXPECT_EQ(keys.Color2, MakeColor(0, 0, 255));
  EXPECT_EQ(keys.Alpha1, 128);
  EXPECT_EQ(keys.Alpha2, 255);  // clamped to a byte
  EXPECT_TRUE(keys.Antialiased);
  EXPECT_EQ(BoxPaint(keys), (TBoxPaint{0, MakeColor(255, 0, 0, 128), MakeColor(0, 0, 255, 255)}));
}

TEST(BoxKeys, FillModesAreExactAndMapToDrawerKinds) {
  const std::vector<std::pair<std::string, uint8_t>> kinds{
      {"Solid", 8}, {"HGradient", 6}, {"VGradient", 5}, {"TLBRGradient", 0}, {"TRBLGradient", 1}};
  for (const auto& [mode, kind] : kinds) {
    const TParsedObject parsed = ParseObject("box", "FillMode=" + mode + "\nColor1=1,2,3\nColor2=4,5,6\nAlpha1=9\n");
    const TBoxPaint paint = BoxPaint(ReadBoxKeys(*parsed.Object));
    EXPECT_EQ(paint.DrawerKind, kind) << mode;
    EXPECT_EQ(paint.Color1, MakeColor(1, 2, 3, 9)) << mode;
    // A solid box paints colour 1 twice.
    EXPECT_EQ(paint.Color2, mode == "Solid" ? MakeColor(1, 2, 3, 9) : MakeColor(4, 5, 6, 255)) << mode;
  }
  const TParsedObject lower = ParseObject("box", "FillMode=hgradient\nAlpha1=-4\n");
  const TBoxKeys keys = ReadBoxKeys(*lower.Object);
  EXPECT_EQ(keys.Fill, TBoxFill::Solid);
  EXPECT_EQ(keys.Alpha1, 0);
}

}  // namespace
}  // namespace kiv
