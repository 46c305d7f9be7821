#include "model/image_keys.h"

#include <gtest/gtest.h>

#include "model/kind_keys_test_support.h"

namespace kiv {
namespace {

TEST(ImageKeys, DefaultsWhenTheSectionSaysNothing) {
  const TParsedObject parsed = ParseObject("image");
  const TImageKeys keys = ReadImageKeys(*parsed.Object, parsed.Object->GetValue());
  EXPECT_FALSE(keys.MainImage);
  EXPECT_TRUE(keys.Antialiased);
  EXPECT_EQ(keys.Filtering, TFiltering::Default);
  EXPECT_EQ(keys.ImageName, u"");
  EXPECT_EQ(keys.MipLodBias, 0);
  EXPECT_EQ(keys.ReplaceWithEffectBuffer, 0);
  EXPECT_FALSE(keys.EnableBorder || keys.EnableCrop || keys.EnableAspect);
  EXPECT_DOUBLE_EQ(keys.BorderWidth, 3.4);
  EXPECT_EQ(keys.BorderColor, MakeColor(255, 255, 255, 255));
  EXPECT_EQ(keys.CropRect, TRectAndPair{});
  EXPECT_EQ(keys.AspectParams, TRectAndPair{});
  EXPECT_EQ(keys.Anim.Columns, 1);
  EXPECT_EQ(keys.Anim.Rows, 1);
  EXPECT_EQ(keys.Anim.RepCount, 0);
  EXPECT_EQ(keys.Anim.Offset, 0);
  EXPECT_EQ(keys.Anim.Count, 0);
  EXPECT_TRUE(keys.Anim.Intervals.empty());
}

TEST(ImageKeys, EveryKeyIsRead) {
  const TParsedObject parsed = ParseObject("MainImage",
                                           "Antialiased=0\nFiltering=bilinear\nImageName=Photos\\Beach.JPG\n"
                                           "MipLodBias=-0.5\nReplaceWithEffectBuffer=2\nEnableBorder=1\n"
                                           "EnableCrop=1\nEnableAspect=1\nBorderWidth=7.5\nBorderColor=10,20,30,40\n"
                                           "CropRect=1,2,3,4\nAspectParams=0.1,0.2,0.3,0.4,5,6\n"
                                           "AnimColumns=4\nAnimRows=2\nAnimRepCount=3\nAnimOffset=12.5\n"
                                           "AnimCount=7\nAnimInterval=200,300\n");
  const TImageKeys keys = ReadImageKeys(*parsed.Object, parsed.Object->GetValue());
  EXPECT_TRUE(keys.MainImage);  // kind words are compared in lower case
  EXPECT_FALSE(keys.Antialiased);
  EXPECT_EQ(keys.Filtering, TFiltering::Bilinear);  // any case
  EXPECT_EQ(keys.ImageName, u"Photos\\Beach.JPG");
  EXPECT_DOUBLE_EQ(keys.MipLodBias, -0.5);
  EXPECT_EQ(keys.ReplaceWithEffectBuffer, 2);
  EXPECT_TRUE(keys.EnableBorder && keys.EnableCrop && keys.EnableAspect);
  EXPECT_DOUBLE_EQ(keys.BorderWidth, 7.5);
  EXPECT_EQ(keys.BorderColor, MakeColor(10, 20, 30, 40));
  EXPECT_EQ(keys.CropRect, (TRectAndPair{{1, 2, 3, 4}, {-1, -1}}));
  EXPECT_EQ(keys.AspectParams, (TRectAndPair{{0.1, 0.2, 0.3, 0.4}, {5, 6}}));
  EXPECT_EQ(keys.Anim.Columns, 4);
  EXPECT_EQ(keys.Anim.Rows, 2);
  EXPECT_EQ(keys.Anim.RepCount, 3);
  EXPECT_DOUBLE_EQ(keys.Anim.Offset, 12.5);
  EXPECT_EQ(keys.Anim.Count, 7);
  EXPECT_EQ(keys.Anim.Intervals, (std::vector<int32_t>{200, 300}));
  EXPECT_EQ(PictureSourceName(keys), u"SlideEffectBuffer2");
}

TEST(ImageKeys, UnreadableValuesFallBackToDefaults) {
  const TParsedObject parsed =
      ParseObject("image",
                  "Filtering=Trilinear\nBorderColor=1,2,3\nCropRect=1,2,3,4,5\nAspectParams=1,2,x,4\n"
                  "AnimInterval=100,fast\nAnimColumns=many\nReplaceWithEffectBuffer=0\nImageName=a.png\n");
  const TImageKeys keys = ReadImageKeys(*parsed.Object, parsed.Object->GetValue());
  EXPECT_EQ(keys.Filtering, TFiltering::Default);
  EXPECT_EQ(keys.BorderColor, MakeColor(1, 2, 3, 255));  // three parts: opaque
  EXPECT_EQ(keys.CropRect, TRectAndPair{});
  EXPECT_EQ(keys.AspectParams, TRectAndPair{});
  EXPECT_TRUE(keys.Anim.Intervals.empty());
  EXPECT_EQ(keys.Anim.Columns, 1);
  EXPECT_EQ(PictureSourceName(keys), u"a.png");
}

}  // namespace
}  // namespace kiv
