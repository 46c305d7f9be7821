// The 3D screen on a small offscreen window: pictures through the tile pool, blending,
// render targets, softened edges, the renderer's life across moves and lost devices,
// and the mended faults of the tile pool and the batch.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "render/device/dev_store.h"
#include "render/device/device_faults.h"
#include "render/device/device_test_support.h"
#include "render/screen/box_antialiaser.h"
#include "render/screen/custom_texture.h"
#include "render/screen/mip_levels.h"
#include "render/screen/multi_texture6.h"
#include "render/screen/screen_3d.h"
#include "render/screen/texture_manager6.h"
#include "render/screen/texture_tile.h"
#include "render/screen/vertex_buffer.h"

namespace kiv {
namespace {

using testing::MakePattern;
using testing::MakeTestWindow;
using testing::TestEngine;

constexpr int kWidth = 320;
constexpr int kHeight = 224;
constexpr TEdgeMask kNoEdges = {0, 0, 0, 0};

// A texture showing a bitmap.
class TPictureTexture : public TCustomTexture {
 public:
  TPictureTexture(T3DScreen& screen, const TBitmap& picture) : TCustomTexture(screen), FPicture(picture) {
    SetSize(picture.Width(), picture.Height());
  }
  int Paints = 0;

 protected:
  void Paint(TBitmap& target) override {
    ++Paints;
    for (int y = 0; y < FPicture.Height(); ++y)
      std::copy(FPicture.Row(y), FPicture.Row(y) + 4 * FPicture.Width(), target.Row(y));
  }

 private:
  const TBitmap& FPicture;
};

class TTargetTexture : public TCustomTexture {
 public:
  TTargetTexture(T3DScreen& screen, int width, int height) : TCustomTexture(screen, TTextureKind::RenderTargetArgb) {
    SetSize(width, height);
  }

 protected:
  void Paint(TBitmap&) override {}
};

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FWindow = MakeTestWindow(kWidth, kHeight);
    FScreen = std::make_unique<T3DScreen>(TestEngine(), [this] { ++FReadyCalls; }, [this] { ++FLostCalls; });
    FScreen->AssignDevice(FWindow.Device.get());
    ASSERT_TRUE(FScreen->BeginScene());
    FScreen->Clear(0xFF000000, false);
  }

  std::unique_ptr<TBitmap> Snapshot() {
    FScreen->Batch().Flush();
    T3DRenderer& renderer = *FScreen->Renderer();
    return renderer.CopyRenderTarget(*renderer.GetBackBuffer());
  }

  void ExpectPicture(const TBitmap& shot, const TBitmap& picture, int left, int top) {
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x)
        ASSERT_EQ(PixelAt(shot, left + x, top + y), PixelAt(picture, x, y)) << "at " << x << "," << y;
  }

  testing::TTestWindow FWindow;
  std::unique_ptr<T3DScreen> FScreen;
  int FReadyCalls = 0;
  int FLostCalls = 0;
};

TEST_F(ScreenTest, PictureAtScaleOneIsReproducedExactlyAcrossTiles) {
  std::shared_ptr<TBitmap> picture = MakePattern(300, 200);
  TTextureManager6 tiles(*FScreen);
  TMultiTexture6 multi(tiles, picture, {0, 0, 300, 200});
  ASSERT_TRUE(multi.Complete());
  ASSERT_EQ(multi.Tiles().size(), 2u);
  // The 256 x 256 tile first, then 64 x 256 for the rest.
  EXPECT_EQ(multi.Tiles()[0].Tile->Manager().TileWidth(), 256);
  EXPECT_EQ(multi.Tiles()[0].Tile->Manager().TileHeight(), 256);
  EXPECT_EQ(multi.Tiles()[1].Tile->Manager().TileWidth(), 64);
  EXPECT_EQ(multi.Tiles()[0].Picture, (TRect{0, 0, 254, 200}));
  EXPECT_EQ(multi.Tiles()[1].Picture, (TRect{254, 0, 300, 200}));

  multi.Draw({0, 0, 300, 200}, {7, 11, 0}, {300, 0, 0}, {0, 200, 0}, 0xFFFFFFFF, kNoEdges);
  auto shot = Snapshot();
  ExpectPicture(*shot, *picture, 7, 11);
  EXPECT_EQ(PixelAt(*shot, 6, 11), 0xFF000000u);
  EXPECT_EQ(PixelAt(*shot, 307, 210), 0xFF000000u);

  // A picture that fits one tile: a cropped view, no apron.
  TMultiTexture6 small(tiles, picture, {10, 20, 70, 60});
  ASSERT_EQ(small.Tiles().size(), 1u);
  EXPECT_EQ(small.Tiles()[0].Tile->Manager().TileWidth(), 64);
  EXPECT_EQ(small.Tiles()[0].Tile->Manager().TileHeight(), 64);
  FScreen->Clear(0xFF000000, false);
  small.Draw({0, 0, 60, 40}, {100, 100, 0}, {60, 0, 0}, {0, 40, 0}, 0xFFFFFFFF, kNoEdges);
  shot = Snapshot();
  EXPECT_EQ(PixelAt(*shot, 100, 100), PixelAt(*picture, 10, 20));
  EXPECT_EQ(PixelAt(*shot, 159, 139), PixelAt(*picture, 69, 59));
}

TEST_F(ScreenTest, OpacityBlendsAndMaximumBlendKeepsTheBrighter) {
  FScreen->Clear(0xFF204060, false);
  // Half opacity over the background through the batch.
  FScreen->DrawQuad(nullptr, {10, 10, 0}, {20, 0, 0}, {0, 20, 0}, {}, {0x80FF0000, 0x80FF0000, 0x80FF0000, 0x80FF0000},
                    kNoEdges);
  auto shot = Snapshot();
  const uint32_t blended = PixelAt(*shot, 15, 15);
  EXPECT_NEAR(int((blended >> 16) & 0xFF), (255 * 128 + 0x20 * 127) / 255, 1);
  EXPECT_NEAR(int(blended & 0xFF), 0x60 * 127 / 255, 1);

  FScreen->Batch().Flush();
  FScreen->Renderer()->SetBlendMode(TBlendMode::Maximum);
  FScreen->DrawQuad(nullptr, {40, 10, 0}, {20, 0, 0}, {0, 20, 0}, {}, {0xFF103080, 0xFF103080, 0xFF103080, 0xFF103080},
                    kNoEdges);
  shot = Snapshot();
  FScreen->Renderer()->SetBlendMode(TBlendMode::Add);
  EXPECT_EQ(PixelAt(*shot, 45, 15), 0xFF204080u);
}

TEST_F(ScreenTest, RenderTargetStackAndCopies) {
  TTargetTexture target(*FScreen, 64, 40);
  EXPECT_EQ(target.DeviceWidth(), 64);
  EXPECT_EQ(target.DeviceHeight(), 64);
  EXPECT_EQ(FScreen->RenderTargetDepth(), 1);
  ASSERT_TRUE(FScreen->PushRenderTarget(target, 100, 50));
  EXPECT_EQ(FScreen->RenderTargetDepth(), 2);
  EXPECT_EQ(FScreen->GetRenderTargetRect(), (TRect{100, 50, 164, 114}));
  FScreen->Clear(0x00000000, false);
  // Screen pixels: (100, 50) is the target's corner.
  FScreen->DrawQuad(nullptr, {100, 50, 0}, {32, 0, 0}, {0, 16, 0}, {}, {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000},
                    kNoEdges);
  FScreen->Batch().Flush();
  auto inside = FScreen->Renderer()->CopyRenderTarget(*target.GetTexture()->GetLevel(0));
  ASSERT_TRUE(inside);
  EXPECT_EQ(PixelAt(*inside, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*inside, 31, 15), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*inside, 32, 15), 0u);
  FScreen->PopRenderTarget();
  FScreen->PopRenderTarget();  // the back buffer stays
  EXPECT_EQ(FScreen->RenderTargetDepth(), 1);
  EXPECT_EQ(FScreen->GetRenderTargetRect(), (TRect{0, 0, kWidth, kHeight}));

  // The target drawn onto the screen at scale 1.
  FScreen->DrawQuad(&target, {10, 20, 0}, {64, 0, 0}, {0, 64, 0}, {0, 0, 64, 64},
                    {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, kNoEdges);
  auto shot = Snapshot();
  EXPECT_EQ(PixelAt(*shot, 10, 20), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*shot, 41, 35), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*shot, 42, 35), 0xFF000000u);

  // The same copy through StretchRect.
  const TRect from{0, 0, 32, 16};
  const TRect to{200, 100, 232, 116};
  ASSERT_TRUE(FScreen->Renderer()->StretchRect(*target.GetTexture()->GetLevel(0), *FScreen->Renderer()->GetBackBuffer(),
                                               1, &from, &to));
  shot = Snapshot();
  EXPECT_EQ(PixelAt(*shot, 231, 115), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*shot, 232, 115), 0xFF000000u);
}

TEST_F(ScreenTest, SoftenedEdgesFadeOutsideTheMarkedEdgesOnly) {
  TBoxAntialiaser boxes(*FScreen);
  const TCornerColours white = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  // Left and top edges marked; the box is placed a quarter pixel off the grid, so the
  // ring outside its edges runs across pixel centres.
  boxes.Draw({20.25f, 30.25f, 0}, {40, 0, 0}, {0, 30, 0}, white, {1, 1, 0, 0});
  auto shot = Snapshot();
  // Inside: full colour.
  EXPECT_EQ(PixelAt(*shot, 30, 40), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(*shot, 20, 40), 0xFFFFFFFFu);
  // Just outside the marked left edge: partly covered by the fading ring.
  const int left = int(PixelAt(*shot, 19, 40) & 0xFF);
  EXPECT_GT(left, 0);
  EXPECT_LT(left, 255);
  const int top = int(PixelAt(*shot, 40, 29) & 0xFF);
  EXPECT_GT(top, 0);
  EXPECT_LT(top, 255);
  // Beyond the unmarked right and bottom edges: nothing.
  EXPECT_EQ(PixelAt(*shot, 61, 40), 0xFF000000u);
  EXPECT_EQ(PixelAt(*shot, 40, 61), 0xFF000000u);
  // Corner colours are interpolated across the box.
  FScreen->Clear(0xFF000000, false);
  boxes.Draw({0, 0, 0}, {100, 0, 0}, {0, 10, 0}, {0xFF000000, 0xFFFF0000, 0xFF000000, 0xFFFF0000}, kNoEdges);
  shot = Snapshot();
  const int middle = int((PixelAt(*shot, 50, 5) >> 16) & 0xFF);
  EXPECT_NEAR(middle, 128, 3);
}

TEST_F(ScreenTest, SameAssignmentKeepsTheRendererAndMovesRebuildIt) {
  testing::TLogCapture log;
  T3DRenderer* before = FScreen->Renderer();
  FScreen->AssignDevice(FWindow.Device.get());
  EXPECT_TRUE(log.Contains("T3DScreen.AssignDevice, bounds= 0, 0, 320, 224"));
  EXPECT_TRUE(log.Contains("T3DScreen.AssignDevice, Exit By Same FullScreen Or Same Windowed"));
  EXPECT_EQ(FScreen->Renderer(), before);

  // The window moved: the next frame logs the new rectangle and draws with a new renderer.
  FWindow.Device->SetRect({40, 30, 40 + kWidth, 30 + kHeight});
  ASSERT_TRUE(FScreen->BeginScene());
  EXPECT_TRUE(log.Contains("T3DScreen.BeginScene, R= 40, 30, 360, 254"));
  EXPECT_EQ(FLostCalls, 1);
  EXPECT_EQ(FReadyCalls, 2);
  EXPECT_EQ(FScreen->ScreenRect(), (TRect{40, 30, 360, 254}));
  FScreen->Clear(0xFF00FF00, false);
  EXPECT_EQ(PixelAt(*Snapshot(), 0, 0), 0xFF00FF00u);
  FScreen->EndScene(true);

  // Closing the window leaves the screen with nothing to draw on.
  FWindow.Device.reset();
  EXPECT_FALSE(FScreen->BeginScene());
  EXPECT_TRUE(log.Contains("No window to draw"));
  EXPECT_FALSE(FScreen->IsReady());
}

TEST_F(ScreenTest, LockedSessionMakesNoRenderer) {
  testing::TLogCapture log;
  TestEngine().SetSessionLocked(true);
  FWindow.Device->SetRect({1, 0, 1 + kWidth, kHeight});
  EXPECT_FALSE(FScreen->BeginScene());
  TestEngine().SetSessionLocked(false);
  EXPECT_TRUE(log.Contains("Can't init"));
  EXPECT_TRUE(FScreen->BeginScene());
}

TEST_F(ScreenTest, LostDeviceRebuildsTheRendererAndTheTextures) {
  testing::TLogCapture log;
  std::shared_ptr<TBitmap> picture = MakePattern(100, 60);
  TPictureTexture texture(*FScreen, *picture);
  TTextureManager6 tiles(*FScreen);
  TMultiTexture6 multi(tiles, picture, {0, 0, 100, 60});
  const TCornerColours white = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  FScreen->DrawQuad(&texture, {0, 0, 0}, {100, 0, 0}, {0, 60, 0}, {0, 0, 100, 60}, white, kNoEdges);
  FScreen->EndScene(true);
  ASSERT_EQ(texture.Paints, 1);

  InjectDeviceLoss();
  EXPECT_FALSE(FScreen->BeginScene() && FScreen->Renderer()->HasDevice());
  EXPECT_TRUE(log.Contains("T3DRenderer9: DEVICE LOST!"));
  // Drawing does nothing now and raises nothing.
  FScreen->DrawQuad(&texture, {0, 0, 0}, {100, 0, 0}, {0, 60, 0}, {0, 0, 100, 60}, white, kNoEdges);
  FScreen->EndScene(true);
  EXPECT_EQ(FLostCalls, 1);
  EXPECT_FALSE(FScreen->IsReady());

  // The next frame has a new renderer; textures are made and painted again on use.
  ASSERT_TRUE(FScreen->BeginScene());
  EXPECT_EQ(FReadyCalls, 2);
  FScreen->Clear(0xFF000000, false);
  FScreen->DrawQuad(&texture, {0, 0, 0}, {100, 0, 0}, {0, 60, 0}, {0, 0, 100, 60}, white, kNoEdges);
  multi.Draw({0, 0, 100, 60}, {150, 100, 0}, {100, 0, 0}, {0, 60, 0}, 0xFFFFFFFF, kNoEdges);
  auto shot = Snapshot();
  EXPECT_EQ(texture.Paints, 2);
  ExpectPicture(*shot, *picture, 0, 0);
  ExpectPicture(*shot, *picture, 150, 100);
}

TEST_F(ScreenTest, TileManagerThatFailsIsDisabledNotDestroyed) {
  std::shared_ptr<TBitmap> picture = MakePattern(300, 200);
  auto tiles = std::make_unique<TTextureManager6>(*FScreen);
  TMultiTexture6 first(*tiles, picture, {0, 0, 300, 200});
  ASSERT_TRUE(first.Complete());
  TTileManager& big = first.Tiles()[0].Tile->Manager();

  // The device goes while a second picture asks for tiles: every manager fails and is
  // disabled, and the first picture's tiles stay where they were.
  InjectDeviceLoss();
  FScreen->Renderer()->BeginScene();
  ASSERT_TRUE(FScreen->IsReady());
  TMultiTexture6 second(*tiles, picture, {0, 0, 300, 200});
  EXPECT_FALSE(second.Complete());
  EXPECT_TRUE(big.Disabled());
  EXPECT_EQ(tiles->ChooseManager(300, 200), -1);
  EXPECT_EQ(&first.Tiles()[0].Tile->Manager(), &big);
  EXPECT_EQ(big.TileCount(), 1u);
  FScreen->EndScene(false);

  // With the next renderer the managers serve again and the first picture still draws.
  ASSERT_TRUE(FScreen->BeginScene());
  EXPECT_FALSE(big.Disabled());
  TMultiTexture6 third(*tiles, picture, {0, 0, 300, 200});
  EXPECT_TRUE(third.Complete());
  FScreen->Clear(0xFF000000, false);
  first.Draw({0, 0, 300, 200}, {0, 0, 0}, {300, 0, 0}, {0, 200, 0}, 0xFFFFFFFF, kNoEdges);
  ExpectPicture(*Snapshot(), *picture, 0, 0);

  // Pictures still holding tiles when the pool goes lose them quietly.
  testing::TLogCapture log;
  tiles.reset();
  EXPECT_TRUE(log.Contains("Error: Multi Textures Count = 3"));
  EXPECT_TRUE(first.Tiles().empty());
}

TEST_F(ScreenTest, FullBatchWithSeveralTexturesIsDrawnAndGoesOn) {
  auto red = std::make_unique<TBitmap>(32, 32, TPixelFormat::Bgra32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) SetPixel(*red, x, y, 0xFFFF0000);
  TPictureTexture first(*FScreen, *red);
  TPictureTexture second(*FScreen, *red);
  TVertexBuffer& batch = FScreen->Batch();
  batch.Reset(2, 2);
  TCustomTexture* textures[] = {&first, &second};
  batch.Begin(textures, 2);
  // Five triangles into a batch of two: each one a small square's upper half.
  for (int i = 0; i < 5; ++i) {
    const float left = 10.0f + 20 * i;
    const TVector3 points[3] = {{left, 10, 0}, {left + 10, 10, 0}, {left, 20, 0}};
    const TTexCoord texels[6] = {{0, 0}, {32, 0}, {0, 32}, {0, 0}, {32, 0}, {0, 32}};
    const uint32_t colours[3] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    batch.AddTriangle(points, texels, colours);
    EXPECT_LE(batch.TriangleCount(), 2);
  }
  auto shot = Snapshot();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(PixelAt(*shot, 12 + 20 * i, 12), 0xFFFF0000u) << i;
}

TEST_F(ScreenTest, MipMappedTexturesCarryReducedLevels) {
  auto picture = MakePattern(64, 64);
  TPictureTexture texture(*FScreen, *picture);
  texture.SetMipMapped(true);
  T3DTexture* device = texture.GetTexture();
  ASSERT_TRUE(device);
  ASSERT_EQ(device->GetLevelCount(), 7);
  TBitmap expected(32, 32, TPixelFormat::Bgra32);
  ReduceInto(*picture, expected);
  auto level = device->GetLevel(1)->Lock(nullptr, true);
  ASSERT_TRUE(level);
  EXPECT_EQ(PixelAt(*level, 5, 9), PixelAt(expected, 5, 9));
  EXPECT_EQ(PixelAt(*level, 31, 31), PixelAt(expected, 31, 31));
  device->GetLevel(1)->Unlock(std::move(level));
  // Drawn at half size with a mip bias, it draws from the levels without complaint.
  texture.SetMipLodBias(-0.5f);
  FScreen->DrawQuad(&texture, {0, 0, 0}, {32, 0, 0}, {0, 32, 0}, {0, 0, 64, 64},
                    {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, kNoEdges);
  FScreen->Batch().Flush();
  EXPECT_EQ(FScreen->Renderer()->LastError(), TDeviceError::Ok);
}

TEST_F(ScreenTest, FullScreenSwitchReleasesTexturesAndTakesTheMonitor) {
  auto picture = MakePattern(40, 40);
  TPictureTexture texture(*FScreen, *picture);
  ASSERT_TRUE(texture.GetTexture());
  EXPECT_EQ(texture.Paints, 1);
  FScreen->EndScene(false);

  FWindow.Device->SetFullScreen(true);
  ASSERT_TRUE(FScreen->BeginScene());
  TRect monitor;
  ASSERT_TRUE(TestEngine().GetAdapterRect(0, monitor));
  EXPECT_EQ(FScreen->ScreenRect(), monitor);
  int width = 0, height = 0;
  ASSERT_TRUE(FScreen->Renderer()->GetBackBuffer()->GetSize(width, height));
  EXPECT_EQ(width, monitor.Width());
  // The texture was released and is made and painted again on use.
  ASSERT_TRUE(texture.GetTexture());
  EXPECT_EQ(texture.Paints, 2);
  FScreen->EndScene(false);

  FWindow.Device->SetFullScreen(false);
  ASSERT_TRUE(FScreen->BeginScene());
  EXPECT_EQ(FScreen->ScreenRect(), (TRect{0, 0, kWidth, kHeight}));
  EXPECT_EQ(FLostCalls, 2);
  EXPECT_EQ(FReadyCalls, 3);
}

TEST(ScreenThreads, ScreenOnTheDrawingThreadGetsItsRendererFromTheMainThread) {
  auto window = MakeTestWindow(64, 48);
  std::promise<uint32_t> drawn;
  std::future<uint32_t> done = drawn.get_future();
  std::thread drawing([&] {
    T3DScreen screen(TestEngine(), nullptr, nullptr);
    screen.AssignDevice(window.Device.get());
    // The first frames find the renderer still being made.
    while (!screen.BeginScene()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    screen.Clear(0xFF336699, false);
    screen.Batch().Flush();
    auto shot = screen.Renderer()->CopyRenderTarget(*screen.Renderer()->GetBackBuffer());
    screen.EndScene(true);
    drawn.set_value(shot ? PixelAt(*shot, 10, 10) : 0);
  });
  while (done.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
    TestEngine().ProcessDeviceRequests();
  EXPECT_EQ(done.get(), 0xFF336699u);
  drawing.join();
  // The drawing thread let go of the context: the main thread may draw now.
  T3DScreen screen(TestEngine(), nullptr, nullptr);
  screen.AssignDevice(window.Device.get());
  EXPECT_TRUE(screen.BeginScene());
}

}  // namespace
}  // namespace kiv
