// Frames of the drawer: the protocol around an item, the cleared start of each frame, the
// renderer's life, the content rectangle and offset, borders and frame capture.
#include <stdexcept>
#include <vector>

#include "drawer_test_support.h"
#include "render/device/device_faults.h"

namespace kiv {
namespace {

using namespace testing;

TEST_F(DrawerTest, EveryFrameStartsClearedToBlackOrTheHiderColour) {
  auto box = BoxItem(0xFFFF0000, 10, 10, 20, 20);
  auto shot = Frame(*box);
  EXPECT_EQ(PixelAt(*shot, 15, 15), 0xFFFF0000u);
  // The next frame without the box shows nothing of it.
  shot = Frame([](TDeviceDrawer&) {});
  EXPECT_EQ(PixelAt(*shot, 15, 15), 0xFF000000u);
  FDrawer->SetHiderColour(0x00336699);
  shot = Frame([](TDeviceDrawer&) {});
  EXPECT_EQ(PixelAt(*shot, 0, 0), 0xFF336699u);
  EXPECT_EQ(PixelAt(*shot, kWidth - 1, kHeight - 1), 0xFF336699u);
}

TEST_F(DrawerTest, OutermostDrawFramesNestedDrawsOnlyDrawAndFailuresEndTheItem) {
  TLogCapture log;
  std::vector<int> codes;
  FDrawer->SetFrameCallback([&codes](int code) { codes.push_back(code); });
  auto inner = BoxItem(0xFF00FF00, 0, 0, 10, 10);
  TLambdaItem outer([&](TDeviceDrawer& drawer) {
    drawer.Draw(*inner);
    drawer.DrawBox(Place(20, 0, 10, 10), SolidBox(0xFF0000FF));
  });
  auto shot = Frame(outer);
  EXPECT_EQ(codes, (std::vector<int>{kFrameBegun, kFrameDrawn}));
  EXPECT_EQ(PixelAt(*shot, 5, 5), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(*shot, 25, 5), 0xFF0000FFu);

  TLambdaItem failing([](TDeviceDrawer& drawer) {
    drawer.DrawBox(Place(0, 0, 10, 10), SolidBox(0xFFFFFFFF));
    throw std::runtime_error("broken item");
  });
  codes.clear();
  shot = Frame(failing);
  EXPECT_EQ(codes, (std::vector<int>{kFrameBegun, kFrameDrawn}));
  EXPECT_TRUE(log.Contains("broken item"));
  EXPECT_EQ(PixelAt(*shot, 5, 5), 0xFFFFFFFFu);
}

TEST_F(DrawerTest, RendererLifeIsLoggedAndNothingIsDrawnWhileClosed) {
  TLogCapture log;
  int ready = 0, lost = 0;
  FDrawer = std::make_unique<T3DDrawer>(TestEngine(), [&ready] { ++ready; }, [&lost] { ++lost; });
  FDrawer->Init(FWindow.Device.get());
  auto box = BoxItem(0xFFFF0000, 0, 0, 10, 10);
  Frame(*box);
  EXPECT_TRUE(log.Contains("T3DDrawer.Init"));
  EXPECT_TRUE(log.Contains("T3DDrawer.RendererReadyEvent"));
  EXPECT_EQ(FDrawer->GetTargetRect(), (TRect{0, 0, kWidth, kHeight}));

  FDrawer->Close();
  EXPECT_TRUE(log.Contains("T3DDrawer.Close"));
  EXPECT_TRUE(log.Contains("T3DDrawer.RendererLostEvent"));
  EXPECT_FALSE(FDrawer->IsReady());
  int frames = 0;
  FDrawer->SetFrameCallback([&frames](int) { ++frames; });
  FDrawer->Draw(*box);
  EXPECT_EQ(frames, 0);
  FDrawer->Init(FWindow.Device.get());
  FDrawer->Draw(*box);
  EXPECT_EQ(frames, 2);

  // The frame that meets a lost device draws nothing; the next one has a new renderer.
  InjectDeviceLoss();
  FDrawer->Draw(*box);
  FDrawer->Draw(*box);
  EXPECT_EQ(lost, 2);
  EXPECT_EQ(ready, 3);
  EXPECT_EQ(PixelAt(*Shot(), 5, 5), 0xFFFF0000u);
}

TEST_F(DrawerTest, ContentSizeIsCentredOffsetMovesAndBordersFillAround) {
  FDrawer->SetContentSize(200, 100);
  auto shot = Frame([](TDeviceDrawer& drawer) {
    drawer.DrawBox(Place(0, 0, 10, 10), SolidBox(0xFF00FF00));
    drawer.SetOffset({5, 3});
    drawer.DrawBox(Place(20, 0, 10, 10), SolidBox(0xFF0000FF));
    drawer.SetOffset({});
    drawer.FillBorders(0x00FF0000);
  });
  EXPECT_EQ(FDrawer->ContentRect(), (TRect{60, 62, 260, 162}));
  EXPECT_EQ(PixelAt(*shot, 60, 62), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(*shot, 85, 65), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(*shot, 84, 64), 0xFF000000u);
  // The bars stop one pixel short of the content.
  EXPECT_EQ(PixelAt(*shot, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*shot, 58, 100), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*shot, 59, 100), 0xFF000000u);
  EXPECT_EQ(PixelAt(*shot, 261, 163), 0xFFFF0000u);
}

TEST_F(DrawerTest, CaptureFrameIsAnR8G8B8PictureOfTheDrawerSize) {
  auto box = BoxItem(0xFF102030, 4, 6, 10, 10);
  Frame(*box);
  std::unique_ptr<TBitmap> capture = FDrawer->CaptureFrame();
  ASSERT_TRUE(capture);
  EXPECT_EQ(capture->Format(), TPixelFormat::Bgr24);
  EXPECT_EQ(capture->Width(), kWidth);
  EXPECT_EQ(capture->Height(), kHeight);
  const uint8_t* inside = capture->Row(6) + 3 * 4;
  EXPECT_EQ(inside[0], 0x30);
  EXPECT_EQ(inside[1], 0x20);
  EXPECT_EQ(inside[2], 0x10);
  EXPECT_EQ(capture->Row(5)[3 * 4 + 2], 0);

  FDrawer->Close();
  EXPECT_FALSE(FDrawer->CaptureFrame());
}

}  // namespace
}  // namespace kiv
