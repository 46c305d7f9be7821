#include "model/mask_keys.h"

#include <gtest/gtest.h>

#include "model/kind_keys_test_support.h"

namespace kiv {
namespace {

TEST(MaskKeys, PictureKeysWithoutSmoothingOrAnimation) {
  const TParsedObject parsed = ParseObject("mask",
                                           "ImageName=Star\nAntialiased=1\nAnimColumns=4\nAnimRows=4\n"
                                           "AnimInterval=50\nFiltering=Nearest\nEnableBorder=1\n");
  const TImageKeys keys = ReadMaskKeys(*parsed.Object);
  EXPECT_EQ(keys.ImageName, u"Star");
  EXPECT_FALSE(keys.Antialiased);
  EXPECT_EQ(keys.Anim.Columns, 1);
  EXPECT_EQ(keys.Anim.Rows, 1);
  EXPECT_TRUE(keys.Anim.Intervals.empty());
  EXPECT_EQ(keys.Filtering, TFiltering::Nearest);
  EXPECT_TRUE(keys.EnableBorder);
  EXPECT_EQ(MaskPictureName(keys), u"Mask: Star");
}

}  // namespace
}  // namespace kiv
