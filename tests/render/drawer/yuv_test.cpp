// Video frames: plane sizes and padding, locking across threads and device loss, and the
// colours that planes convert to.
#include <atomic>
#include <chrono>
#include <thread>

#include "base/errors.h"
#include "drawer_test_support.h"
#include "render/drawer/yuv_3d.h"

namespace kiv {
namespace {

using namespace testing;

// Fills the picture part of plane with value.
void FillPlane(T3DYUV& yuv, int plane, uint8_t value) {
  TBitmap* pixels = yuv.LockPlane(plane);
  ASSERT_TRUE(pixels);
  TVideoTexture& texture = *yuv.Texture(plane);
  for (int y = 0; y < texture.PlaneHeight(); ++y) std::fill(pixels->Row(y), pixels->Row(y) + texture.PlaneWidth(), value);
  yuv.UnlockPlane(plane);
}

TEST(VideoPlanes, PaddedSidesReachAtMostTheNextPowerOfTwo) {
  EXPECT_EQ(PaddedPlaneSide(101), 109);
  EXPECT_EQ(PaddedPlaneSide(128), 128);
  EXPECT_EQ(PaddedPlaneSide(50), 58);
  EXPECT_EQ(PaddedPlaneSide(37), 45);
  EXPECT_EQ(PaddedPlaneSide(1), 1);
}

TEST_F(DrawerTest, PlanesAreSizedPaddedAndLockedOneAtATime) {
  std::unique_ptr<T3DYUV> yuv = FDrawer->CreateYUV(101, 75);
  ASSERT_TRUE(yuv);
  ASSERT_TRUE(yuv->Planar());
  EXPECT_EQ(yuv->Texture(kPlaneY)->PlaneWidth(), 101);
  EXPECT_EQ(yuv->Texture(kPlaneU)->PlaneWidth(), 50);
  EXPECT_EQ(yuv->Texture(kPlaneU)->PlaneHeight(), 37);
  EXPECT_EQ(yuv->Texture(kPlaneV)->PlaneHeight(), 37);
  EXPECT_FALSE(yuv->Texture(kPlaneGrey));
  EXPECT_FALSE(FDrawer->CreateYUV(0, 10));

  TBitmap* y = yuv->LockPlane(kPlaneY);
  ASSERT_TRUE(y);
  EXPECT_EQ(y->Width(), 109);
  EXPECT_EQ(y->Height(), 83);
  EXPECT_FALSE(yuv->LockPlane(kPlaneY));
  EXPECT_FALSE(yuv->LockPlane(kPlaneGrey));
  EXPECT_EQ(yuv->PlanesInFlight(), 1);
  for (int row = 0; row < 75; ++row)
    for (int column = 0; column < 101; ++column) y->Row(row)[column] = uint8_t(row + column);
  yuv->UnlockPlane(kPlaneY);
  EXPECT_EQ(yuv->PlanesInFlight(), 0);
  // The last column and row repeat into the padding.
  EXPECT_EQ(y->Row(10)[108], y->Row(10)[100]);
  EXPECT_EQ(y->Row(82)[5], y->Row(74)[5]);
  EXPECT_EQ(y->Row(82)[108], uint8_t(74 + 100));

  EXPECT_THROW(yuv->UnlockPlane(kPlaneY), EAssertionFailed);
  EXPECT_THROW(yuv->LockPlane(4), EAssertionFailed);
}

TEST_F(DrawerTest, DetachingWaitsForPlanesInFlightAndRefusesLocksUntilAttached) {
  std::unique_ptr<T3DYUV> yuv = FDrawer->CreateYUV(64, 48);
  ASSERT_TRUE(yuv->LockPlane(kPlaneU));
  std::atomic<bool> detached{false};
  std::thread device([&] {
    yuv->Detach();
    detached = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(detached);
  yuv->UnlockPlane(kPlaneU);
  device.join();
  EXPECT_TRUE(yuv->Detached());
  EXPECT_FALSE(yuv->LockPlane(kPlaneY));
  yuv->Attach();
  EXPECT_TRUE(yuv->LockPlane(kPlaneY));
  yuv->UnlockPlane(kPlaneY);
}

TEST_F(DrawerTest, KnownYuvColoursConvertToTheirRgb) {
  std::unique_ptr<T3DYUV> yuv = FDrawer->CreateYUV(40, 30);
  TPictureParams params;
  params.Smooth = false;
  // Studio-range red, then mid grey.
  FillPlane(*yuv, kPlaneY, 81);
  FillPlane(*yuv, kPlaneU, 90);
  FillPlane(*yuv, kPlaneV, 240);
  auto shot = Frame([&](TDeviceDrawer& drawer) { drawer.DrawVideo(*yuv, Place(10, 10, 40, 30), params); });
  const uint32_t red = PixelAt(*shot, 30, 25);
  EXPECT_NEAR(Red(red), 254, 3);
  EXPECT_NEAR(Green(red), 0, 3);
  EXPECT_NEAR(Blue(red), 0, 3);
  EXPECT_EQ(PixelAt(*shot, 49, 39), red);
  EXPECT_EQ(PixelAt(*shot, 50, 39), 0xFF000000u);

  FillPlane(*yuv, kPlaneY, 126);
  FillPlane(*yuv, kPlaneU, 128);
  FillPlane(*yuv, kPlaneV, 128);
  shot = Frame([&](TDeviceDrawer& drawer) { drawer.DrawVideo(*yuv, Place(10, 10, 40, 30), params); });
  EXPECT_NEAR(Red(PixelAt(*shot, 30, 25)), 128, 2);
  EXPECT_NEAR(Blue(PixelAt(*shot, 30, 25)), 128, 2);
}

TEST_F(DrawerTest, FieldModesShowOneFieldAndTheGreyPlaneShowsLuminance) {
  std::unique_ptr<T3DYUV> yuv = FDrawer->CreateYUV(32, 32);
  TBitmap* y = yuv->LockPlane(kPlaneY);
  ASSERT_TRUE(y);
  for (int row = 0; row < 32; ++row) std::fill(y->Row(row), y->Row(row) + 32, row % 2 ? 16 : 235);
  yuv->UnlockPlane(kPlaneY);
  FillPlane(*yuv, kPlaneU, 128);
  FillPlane(*yuv, kPlaneV, 128);
  TPictureParams params;
  params.Smooth = false;
  auto shot = Frame([&](TDeviceDrawer& drawer) {
    drawer.DrawVideo(*yuv, Place(0, 0, 32, 32), params);
    drawer.DrawVideo(*yuv, Place(40, 0, 32, 32), params, TFieldMode::EvenLines);
    drawer.DrawVideo(*yuv, Place(80, 0, 32, 32), params, TFieldMode::OddLines);
  });
  EXPECT_GT(Green(PixelAt(*shot, 5, 4)), 250);
  EXPECT_LT(Green(PixelAt(*shot, 5, 5)), 5);
  EXPECT_GT(Green(PixelAt(*shot, 45, 5)), 250);
  EXPECT_LT(Green(PixelAt(*shot, 85, 4)), 5);

  // Without shaders or one-channel textures: the grey plane.
  T3DYUV grey(std::make_shared<TYUVRegistry>(), FDrawer->Screen(), 20, 20, false);
  FillPlane(grey, kPlaneGrey, 200);
  shot = Frame([&](TDeviceDrawer& drawer) { drawer.DrawVideo(grey, Place(0, 0, 20, 20), params); });
  EXPECT_EQ(PixelAt(*shot, 10, 10), 0xFFC8C8C8u);
}

}  // namespace
}  // namespace kiv
