// Renderers asked for off the main thread, the drawing context moving between threads,
// and the lost-device path reached through fault injection.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include <SDL2/SDL.h>

#include "render/device/dev_store.h"
#include "render/device/device_faults.h"
#include "render/device/device_test_support.h"
#include "render/device/sdl_window.h"

namespace kiv {
namespace {

using testing::MakeTestWindow;
using testing::TestEngine;

// Runs the main thread's device requests until done is ready.
template <class T>
T PumpUntil(std::future<T>& done) {
  while (done.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) TestEngine().ProcessDeviceRequests();
  return done.get();
}

TEST(DeviceThreads, RendererAskedForOnTheDrawingThreadIsMadeByTheMainThread) {
  auto window = MakeTestWindow(32, 32);
  std::promise<void> asked;
  std::promise<uint32_t> drawn;
  std::future<void> askedFuture = asked.get_future();
  std::future<uint32_t> drawnFuture = drawn.get_future();
  std::thread drawing([&] {
    TRendererParams params;
    auto renderer = TestEngine().CreateRenderer(*window.Device, params);
    EXPECT_TRUE(renderer && renderer->IsPending());
    EXPECT_FALSE(renderer->BeginScene());
    EXPECT_EQ(renderer->LastError(), TDeviceError::Pending);
    EXPECT_STREQ(renderer->ErrorText(), "");
    asked.set_value();
    while (renderer->IsPending()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(renderer->BeginScene());
    EXPECT_TRUE(renderer->Clear(nullptr, 0, ClearFlag::Target, 0xFF123456, 1));
    auto shot = renderer->CopyRenderTarget(*renderer->GetBackBuffer());
    drawn.set_value(shot ? PixelAt(*shot, 3, 3) : 0);
    renderer.reset();
  });
  askedFuture.wait();
  EXPECT_EQ(PumpUntil(drawnFuture), 0xFF123456u);
  drawing.join();
}

TEST(DeviceThreads, RendererDisposedBeforeTheMainThreadCameIsNotMade) {
  testing::TLogCapture log;
  auto window = MakeTestWindow(32, 32);
  std::thread drawing([&] {
    auto renderer = TestEngine().CreateRenderer(*window.Device, TRendererParams{});
    EXPECT_TRUE(renderer->IsPending());
  });
  drawing.join();
  EXPECT_EQ(TestEngine().ProcessDeviceRequests(), 1);
  EXPECT_TRUE(log.Contains("intdata.renderer:=nil"));
  EXPECT_EQ(window.Device->Find<TDevStore>(), nullptr);
}

TEST(DeviceThreads, ContextIsHandedOverExplicitly) {
  auto window = MakeTestWindow(32, 32);
  auto renderer = TestEngine().CreateRenderer(*window.Device, TRendererParams{});
  ASSERT_TRUE(renderer);
  std::promise<void> holding, handBack, released;
  std::thread drawing([&] {
    EXPECT_TRUE(renderer->BeginScene());
    holding.set_value();
    handBack.get_future().wait();
    renderer->ReleaseContext();
    released.set_value();
  });
  holding.get_future().wait();
  // Another thread holds the context: the call fails instead of drawing beside it.
  EXPECT_FALSE(renderer->BeginScene());
  EXPECT_EQ(renderer->LastError(), TDeviceError::InvalidCall);
  handBack.set_value();
  released.get_future().wait();
  drawing.join();
  EXPECT_TRUE(renderer->BeginScene());
}

TEST(DeviceLoss, InjectedLossFreesTheStoreAndEveryLaterCallFails) {
  testing::TLogCapture log;
  auto window = MakeTestWindow(32, 32);
  auto renderer = TestEngine().CreateRenderer(*window.Device, TRendererParams{});
  ASSERT_TRUE(renderer);
  auto texture = renderer->CreateTexture(TTextureKind::Argb, 32, false, 32);
  auto list = renderer->CreateVertexList(3, 0, 0);
  ASSERT_TRUE(texture && list);
  int lostCalls = 0;
  texture->SetLostNotification([&] { ++lostCalls; });

  InjectDeviceLoss();
  EXPECT_FALSE(renderer->BeginScene());
  EXPECT_EQ(renderer->LastError(), TDeviceError::DeviceLost);
  EXPECT_STREQ(renderer->ErrorText(), "DeviceLost");
  EXPECT_TRUE(log.Contains("T3DRenderer9: DEVICE LOST!"));
  EXPECT_TRUE(log.Contains("Dx Error = 3"));
  EXPECT_EQ(window.Device->Find<TDevStore>(), nullptr);
  EXPECT_EQ(lostCalls, 1);

  EXPECT_FALSE(renderer->CreateTexture(TTextureKind::Argb, 32, false, 32));
  EXPECT_EQ(renderer->LastError(), TDeviceError::DeviceLost);
  EXPECT_FALSE(renderer->Clear(nullptr, 0, ClearFlag::Target, 0, 1));
  EXPECT_EQ(renderer->GetBackBuffer(), nullptr);
  int width = 1, height = 1;
  EXPECT_FALSE(texture->GetLevel(0)->GetSize(width, height));
  EXPECT_EQ(width, 0);
  T3DVertex vertex;
  EXPECT_FALSE(list->Fill(0, &vertex, 1, 0));
  EXPECT_EQ(list->LastError(), TDeviceError::DeviceLost);

  // The objects of the lost device go quietly, and a new renderer works.
  texture.reset();
  list.reset();
  renderer = TestEngine().CreateRenderer(*window.Device, TRendererParams{});
  ASSERT_TRUE(renderer);
  EXPECT_TRUE(renderer->BeginScene());
}

TEST(DeviceLoss, ClosingTheWindowLeavesItsRendererWithoutDevice) {
  auto window = MakeTestWindow(32, 32);
  auto renderer = TestEngine().CreateRenderer(*window.Device, TRendererParams{});
  ASSERT_TRUE(renderer);
  window.Device.reset();
  EXPECT_FALSE(renderer->BeginScene());
  EXPECT_EQ(renderer->LastError(), TDeviceError::DeviceLost);
}

TEST(DeviceEngine, AdaptersModesAndCaps) {
  T3DEngineGL& engine = TestEngine();
  TRect bounds;
  ASSERT_TRUE(engine.GetAdapterRect(0, bounds));
  EXPECT_FALSE(bounds.IsEmpty());
  EXPECT_EQ(engine.FindAdapter({10, 10, 50, 50}), 0);
  EXPECT_EQ(engine.FindAdapter({-500, -500, -400, -400}), 0);
  TDisplayMode mode;
  ASSERT_TRUE(engine.GetDisplayMode(0, mode));
  EXPECT_EQ(mode.Width, bounds.Width());
  EXPECT_FALSE(engine.GetDisplayMode(99, mode));
  EXPECT_GE(engine.GetCaps("MaxTexWidth", 0), 2048);
  EXPECT_EQ(engine.GetCaps("NoSuchCap", 0), 0);
  EXPECT_EQ(engine.GetShaderLevel(0), 2);
  EXPECT_TRUE(engine.CheckDevice());
  engine.SetSessionLocked(true);
  EXPECT_FALSE(engine.CheckDevice());
  engine.SetSessionLocked(false);
}

TEST(DeviceEngine, ExclusiveRendererPutsTheWindowBack) {
  auto window = MakeTestWindow(40, 30, 5, 6);
  TRendererParams params;
  params.Windowed = false;
  params.Width = 64;
  params.Height = 48;
  auto renderer = TestEngine().CreateRenderer(*window.Device, params);
  ASSERT_TRUE(renderer);
  int width = 0, height = 0;
  ASSERT_TRUE(renderer->GetBackBuffer()->GetSize(width, height));
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);
  renderer.reset();
  // The exclusive device went with its renderer.
  EXPECT_EQ(window.Device->Find<TDevStore>(), nullptr);
  EXPECT_EQ(SDL_GetWindowFlags(SdlWindowOf(window.Window.get())) & SDL_WINDOW_FULLSCREEN, 0u);

  // A show that forbids exclusive mode gets a window-sized back buffer.
  TestEngine().SetShowForbidsExclusive(true);
  renderer = TestEngine().CreateRenderer(*window.Device, params);
  TestEngine().SetShowForbidsExclusive(false);
  ASSERT_TRUE(renderer);
  ASSERT_TRUE(renderer->GetBackBuffer()->GetSize(width, height));
  EXPECT_EQ(width, 40);
}

}  // namespace
}  // namespace kiv
