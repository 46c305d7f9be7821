#include "model/button_keys.h"

#include <gtest/gtest.h>

#include "model/kind_keys_test_support.h"

namespace kiv {
namespace {

TEST(ButtonKeys, DefaultsKeepTheCurrentMinimumWidth) {
  const TParsedObject parsed = ParseObject("button");
  const TButtonKeys keys = ReadButtonKeys(*parsed.Object, 35);
  EXPECT_EQ(keys.Theme, u"");
  EXPECT_EQ(keys.BtnOpacity, 100);
  EXPECT_EQ(keys.TxtOpacity, 100);
  EXPECT_EQ(keys.Hue, 0);
  EXPECT_EQ(keys.Saturation, 0);
  EXPECT_EQ(keys.Lightness, 0);
  EXPECT_TRUE(keys.Image.Antialiased);
  EXPECT_EQ(keys.BtnMinWidth, 35);
  EXPECT_EQ(keys.BtnOffsetX, 100);
}

TEST(ButtonKeys, EveryKeyIsRead) {
  const TParsedObject parsed = ParseObject("button",
                                           "Theme=Glass\nBtnOpacity=80\nTxtOpacity=60.5\nHue=-20\nSaturation=15\n"
                                           "Lightness=5\nFiltering=NEAREST\nImageName=Button: OK\n"
                                           "BtnMinWidth=120\nBtnOffsetX=90\n");
  const TButtonKeys keys = ReadButtonKeys(*parsed.Object, 35);
  EXPECT_EQ(keys.Theme, u"Glass");
  EXPECT_DOUBLE_EQ(keys.BtnOpacity, 80);
  EXPECT_DOUBLE_EQ(keys.TxtOpacity, 60.5);
  EXPECT_EQ(keys.Hue, -20);
  EXPECT_EQ(keys.Saturation, 15);
  EXPECT_EQ(keys.Lightness, 5);
  EXPECT_EQ(keys.Image.Filtering, TFiltering::Nearest);
  EXPECT_EQ(keys.Image.ImageName, u"Button: OK");
  EXPECT_FALSE(keys.Image.MainImage);
  EXPECT_DOUBLE_EQ(keys.BtnMinWidth, 120);
  EXPECT_DOUBLE_EQ(keys.BtnOffsetX, 90);
}

}  // namespace
}  // namespace kiv
