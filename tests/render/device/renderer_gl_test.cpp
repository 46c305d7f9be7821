// Drawing through the OpenGL ES renderer on a small offscreen window: clears, textured
// quads with the blend modes, texture formats, render targets and copies, shaders, and
// the wait before a present that leaves the device to other threads.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "base/clock.h"
#include "render/device/dev_store.h"
#include "render/device/device_lock.h"
#include "render/device/device_test_support.h"
#include "render/device/renderer_3d.h"
#include "render/device/texture_gl.h"
#include "render/device/vertex_list_gl.h"

namespace kiv {
namespace {

using testing::MakePattern;
using testing::MakeTestWindow;
using testing::TestEngine;

constexpr int kWidth = 64;
constexpr int kHeight = 48;

// Stands for the process clock: its sleep (the wait before a present) runs during.
class TSleepHook : public IClock {
 public:
  explicit TSleepHook(std::function<void()> during) : FDuring(std::move(during)) {}
  uint32_t NowMs() override { return 0; }
  void SleepMs(uint32_t) override { FDuring(); }

 private:
  std::function<void()> FDuring;
};

class RendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FWindow = MakeTestWindow(kWidth, kHeight);
    TRendererParams params;
    params.Width = kWidth;
    params.Height = kHeight;
    FRenderer = TestEngine().CreateRenderer(*FWindow.Device, params);
    ASSERT_TRUE(FRenderer);
    ASSERT_FALSE(FRenderer->IsPending());
    ASSERT_TRUE(FRenderer->SetCulling(true));
  }

  // Two triangles over pixel rect of a target of the given size, texture coordinates
  // from texel rect of a texture of size (tw, th), all in one colour.
  std::unique_ptr<T3DVertexList> Quad(const TRect& rect, const TRect& texels, int tw, int th, uint32_t colour,
                                      int targetWidth = kWidth, int targetHeight = kHeight) {
    auto list = FRenderer->CreateVertexList(6, VertexOption::Diffuse, 1);
    EXPECT_TRUE(list);
    auto corner = [&](int x, int y, int u, int v) {
      T3DVertex vertex;
      vertex.X = 2.0f * x / targetWidth - 1;
      vertex.Y = 1 - 2.0f * y / targetHeight;
      vertex.Z = 0.5f;
      vertex.Tex[0] = {float(u) / tw, float(v) / th};
      vertex.Diffuse = colour;
      return vertex;
    };
    const T3DVertex a = corner(rect.Left, rect.Top, texels.Left, texels.Top);
    const T3DVertex b = corner(rect.Right, rect.Top, texels.Right, texels.Top);
    const T3DVertex c = corner(rect.Left, rect.Bottom, texels.Left, texels.Bottom);
    const T3DVertex d = corner(rect.Right, rect.Bottom, texels.Right, texels.Bottom);
    const T3DVertex vertices[6] = {a, b, c, c, b, d};
    EXPECT_TRUE(list->Fill(0, vertices, 6, 0));
    EXPECT_TRUE(list->SetDrawRange(0, 2, TPrimitiveType::TriangleList));
    return list;
  }

  std::unique_ptr<T3DTexture> TextureFrom(const TBitmap& picture, int width, int height,
                                          TTextureKind kind = TTextureKind::Argb) {
    auto texture = FRenderer->CreateTexture(kind, width, false, height);
    EXPECT_TRUE(texture);
    const TRect area{0, 0, picture.Width(), picture.Height()};
    T3DSurface* level = texture->GetLevel(0);
    auto pixels = level->Lock(&area, false);
    EXPECT_TRUE(pixels);
    for (int y = 0; y < picture.Height(); ++y)
      std::copy(picture.Row(y), picture.Row(y) + picture.Width() * BytesPerPixel(picture.Format()), pixels->Row(y));
    EXPECT_TRUE(level->Unlock(std::move(pixels)));
    texture->SetAddressMode(TAddressMode::Clamp, TAddressMode::Clamp);
    texture->SetFilter(TTextureFilter::Point);
    return texture;
  }

  std::unique_ptr<TBitmap> Snapshot() { return FRenderer->CopyRenderTarget(*FRenderer->GetBackBuffer()); }

  testing::TTestWindow FWindow;
  std::unique_ptr<T3DRenderer> FRenderer;
};

TEST_F(RendererTest, ClearFillsTheViewportAndRectanglesOnly) {
  ASSERT_TRUE(FRenderer->BeginScene());
  ASSERT_TRUE(FRenderer->Clear(nullptr, 0, ClearFlag::Target, 0xFF102030, 1));
  const TRect part{10, 5, 20, 15};
  ASSERT_TRUE(FRenderer->Clear(&part, 1, ClearFlag::Target, 0xFFFF0000, 1));
  ASSERT_TRUE(FRenderer->EndScene());
  auto shot = Snapshot();
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->Width(), kWidth);
  EXPECT_EQ(PixelAt(*shot, 0, 0), 0xFF102030u);
  EXPECT_EQ(PixelAt(*shot, 10, 5), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*shot, 19, 14), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*shot, 20, 14), 0xFF102030u);
  EXPECT_EQ(PixelAt(*shot, 19, 15), 0xFF102030u);
  // Rows are top-down in the copy as on the screen.
  EXPECT_EQ(PixelAt(*shot, 10, kHeight - 6), 0xFF102030u);
}

TEST_F(RendererTest, TexturedQuadAtScaleOneIsExactAndAlphaBlends) {
  auto picture = MakePattern(40, 30);
  // Half-transparent lower half.
  for (int y = 15; y < 30; ++y)
    for (int x = 0; x < 40; ++x) picture->Row(y)[4 * x + 3] = 128;
  auto texture = TextureFrom(*picture, 64, 32);
  T3DTexture* stages[] = {texture.get()};
  auto quad = Quad({8, 4, 48, 34}, {0, 0, 40, 30}, 64, 32, 0xFFFFFFFF);
  ASSERT_TRUE(FRenderer->BeginScene());
  ASSERT_TRUE(FRenderer->Clear(nullptr, 0, ClearFlag::Target, 0xFF000000, 1));
  ASSERT_TRUE(FRenderer->DrawVertexList(stages, 1, DrawFlag::Textured | DrawFlag::AlphaModulation, *quad));
  auto shot = Snapshot();
  ASSERT_TRUE(shot);
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(PixelAt(*shot, 8 + x, 4 + y), PixelAt(*picture, x, y)) << x << "," << y;
  // Over black, a colour at alpha 128 keeps about half of each channel.
  const uint32_t source = PixelAt(*picture, 5, 20);
  const uint32_t blended = PixelAt(*shot, 13, 24);
  for (int shift : {0, 8, 16}) {
    const int expected = int((source >> shift) & 0xFF) * 128 / 255;
    EXPECT_NEAR(int((blended >> shift) & 0xFF), expected, 1) << shift;
  }
  EXPECT_EQ(PixelAt(*shot, 7, 4), 0xFF000000u);
  EXPECT_EQ(PixelAt(*shot, 48, 33), 0xFF000000u);
}

TEST_F(RendererTest, OpaquePicturesKnowWhereTheyAreOpaqueAndDrawTheSamePixels) {
  auto picture = MakePattern(40, 30);
  auto texture = TextureFrom(*picture, 64, 32);
  auto luminance = FRenderer->CreateTexture(TTextureKind::Luminance, 32, false, 32);
  auto& own = dynamic_cast<T3DTextureGL&>(*texture);
  T3DTexture* stages[] = {texture.get()};
  auto quad = Quad({8, 4, 48, 34}, {0, 0, 40, 30}, 64, 32, 0xFFFFFFFF);
  ASSERT_TRUE(FRenderer->BeginScene());
  ASSERT_TRUE(FRenderer->Clear(nullptr, 0, ClearFlag::Target, 0xFF000000, 1));
  ASSERT_TRUE(FRenderer->DrawVertexList(stages, 1, DrawFlag::Textured | DrawFlag::AlphaModulation, *quad));
  EXPECT_EQ(own.OpaqueArea(), (TRect{0, 0, 40, 30}));
  EXPECT_EQ(dynamic_cast<T3DTextureGL&>(*luminance).OpaqueArea(), (TRect{0, 0, 32, 32}));
  auto shot = Snapshot();
  ASSERT_TRUE(shot);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(PixelAt(*shot, 8 + x, 4 + y), PixelAt(*picture, x, y)) << x << "," << y;
  EXPECT_EQ(PixelAt(*shot, 7, 4), 0xFF000000u);
  EXPECT_EQ(PixelAt(*shot, 48, 33), 0xFF000000u);

  // Only whole pixels at a scale of one or less keep a filter inside the opaque texels.
  struct TCase {
    TRect Pixels, Texels, Area;
    bool Within;
  } const cases[] = {
      {{8, 4, 48, 34}, {0, 0, 40, 30}, {0, 0, 40, 30}, true},
      {{8, 4, 28, 19}, {0, 0, 40, 30}, {0, 0, 40, 30}, true},
      {{8, 4, 48, 34}, {0, 0, 40, 30}, {0, 0, 39, 30}, false},
      {{0, 0, 64, 48}, {0, 0, 40, 30}, {0, 0, 40, 30}, false},
  };
  for (const TCase& c : cases) {
    auto list = Quad(c.Pixels, c.Texels, 64, 32, 0xFFFFFFFF);
    const std::array<TMatrix4, 3> identity{TMatrix4::Identity(), TMatrix4::Identity(), TMatrix4::Identity()};
    EXPECT_EQ(dynamic_cast<T3DVertexListGL&>(*list).SamplesWithin(identity, {0, 0, kWidth, kHeight}, 0, 64, 32, c.Area),
              c.Within)
        << c.Pixels.Right << " " << c.Area.Right;
  }

  // A lower alpha over part of the picture leaves no area known opaque.
  const TRect part{0, 0, 10, 10};
  auto pixels = texture->GetLevel(0)->Lock(&part, false);
  ASSERT_TRUE(pixels);
  ASSERT_TRUE(texture->GetLevel(0)->Unlock(std::move(pixels)));
  ASSERT_TRUE(FRenderer->DrawVertexList(stages, 1, DrawFlag::Textured | DrawFlag::AlphaModulation, *quad));
  EXPECT_TRUE(own.OpaqueArea().IsEmpty());
}

TEST_F(RendererTest, VertexColourModulatesAndBlendMaxKeepsTheBrighter) {
  auto quad = Quad({0, 0, kWidth, kHeight}, {0, 0, 1, 1}, 1, 1, 0xFF4080C0);
  ASSERT_TRUE(FRenderer->BeginScene());
  ASSERT_TRUE(FRenderer->Clear(nullptr, 0, ClearFlag::Target, 0xFF806020, 1));
  ASSERT_TRUE(FRenderer->SetBlendMode(TBlendMode::Maximum));
  ASSERT_TRUE(FRenderer->DrawVertexList(nullptr, 0, DrawFlag::VertexColour | DrawFlag::AlphaModulation, *quad));
  auto shot = Snapshot();
  EXPECT_EQ(PixelAt(*shot, 5, 5), 0xFF8080C0u);

  // Back to adding: an opaque untextured quad replaces what is there.
  ASSERT_TRUE(FRenderer->SetBlendMode(TBlendMode::Add));
  ASSERT_TRUE(FRenderer->DrawVertexList(nullptr, 0, DrawFlag::VertexColour | DrawFlag::AlphaModulation, *quad));
  shot = Snapshot();
  EXPECT_EQ(PixelAt(*shot, 5, 5), 0xFF4080C0u);
}

TEST_F(RendererTest, CullingDropsCounterClockwiseTriangles) {
  auto list = FRenderer->CreateVertexList(3, VertexOption::Diffuse, 0);
  // Top-left, bottom-left, top-right: counter-clockwise on screen.
  T3DVertex vertices[3];
  vertices[0].X = -1, vertices[0].Y = 1;
  vertices[1].X = -1, vertices[1].Y = -1;
  vertices[2].X = 1, vertices[2].Y = 1;
  for (auto& v : vertices) v.Z = 0.5f, v.Diffuse = 0xFFFFFFFF;
  ASSERT_TRUE(list->Fill(0, vertices, 3, 0));
  ASSERT_TRUE(list->SetDrawRange(0, 1, TPrimitiveType::TriangleList));
  ASSERT_TRUE(FRenderer->BeginScene());
  ASSERT_TRUE(FRenderer->Clear(nullptr, 0, ClearFlag::Target, 0xFF000000, 1));
  ASSERT_TRUE(FRenderer->SetCulling(false));
  ASSERT_TRUE(FRenderer->DrawVertexList(nullptr, 0, DrawFlag::VertexColour, *list));
  EXPECT_EQ(PixelAt(*Snapshot(), 2, 2), 0xFF000000u);
  ASSERT_TRUE(FRenderer->SetCulling(true));
  ASSERT_TRUE(FRenderer->DrawVertexList(nullptr, 0, DrawFlag::VertexColour, *list));
  EXPECT_EQ(PixelAt(*Snapshot(), 2, 2), 0xFFFFFFFFu);
}

TEST_F(RendererTest, TextureKindsKeepTheirPixels) {
  // Lock, unlock, read back: colour, one channel and 5-6-5 each come back as written.
  auto picture = MakePattern(20, 10);
  auto argb = TextureFrom(*picture, 32, 32);
  const TRect area{0, 0, 20, 10};
  auto back = argb->GetLevel(0)->Lock(&area, true);
  ASSERT_TRUE(back);
  EXPECT_EQ(PixelAt(*back, 7, 3), PixelAt(*picture, 7, 3));
  ASSERT_TRUE(argb->GetLevel(0)->Unlock(std::move(back)));
  EXPECT_STREQ(argb->GetLevel(0)->GetPixelFormat(), "A8R8G8B8");

  TBitmap grey(8, 4, TPixelFormat::Indexed8);
  for (int x = 0; x < 8; ++x) grey.Row(2)[x] = uint8_t(30 * x);
  auto luminance = TextureFrom(grey, 8, 4, TTextureKind::Luminance);
  auto greyBack = luminance->GetLevel(0)->Lock(nullptr, true);
  ASSERT_TRUE(greyBack);
  EXPECT_EQ(greyBack->Row(2)[5], 150);
  EXPECT_STREQ(luminance->GetLevel(0)->GetPixelFormat(), "A8");

  TBitmap packed(4, 4, TPixelFormat::Rgb565);
  packed.Row(1)[2] = 0x1F;  // pure blue at (1, 1)
  auto rgb565 = TextureFrom(packed, 4, 4, TTextureKind::Rgb565);
  auto packedBack = rgb565->GetLevel(0)->Lock(nullptr, true);
  ASSERT_TRUE(packedBack);
  EXPECT_EQ(packedBack->Row(1)[2], 0x1F);
  EXPECT_EQ(packedBack->Row(1)[3], 0);
  EXPECT_STREQ(rgb565->GetLevel(0)->GetPixelFormat(), "B5G6R5");

  // A grey texture draws as grey.
  T3DTexture* stages[] = {luminance.get()};
  auto quad = Quad({0, 0, 8, 4}, {0, 0, 8, 4}, 8, 4, 0xFFFFFFFF);
  ASSERT_TRUE(FRenderer->BeginScene());
  ASSERT_TRUE(FRenderer->DrawVertexList(stages, 1, DrawFlag::Textured, *quad));
  EXPECT_EQ(PixelAt(*Snapshot(), 5, 2), 0xFF969696u);

  // Writing into a render target through a lock is refused.
  auto target = FRenderer->CreateTexture(TTextureKind::RenderTargetArgb, 32, false, 32);
  EXPECT_FALSE(target->GetLevel(0)->Lock(nullptr, false));
  EXPECT_EQ(target->GetLevel(0)->LastError(), TDeviceError::InvalidCall);
  EXPECT_EQ(target->GetLevel(1), nullptr);
}

TEST_F(RendererTest, RenderTargetsAndStretchRect) {
  auto target = FRenderer->CreateTexture(TTextureKind::RenderTargetArgb, 32, false, 32);
  ASSERT_TRUE(target);
  T3DSurface* surface = target->GetLevel(0);
  ASSERT_TRUE(surface->IsRenderTarget());
  ASSERT_TRUE(FRenderer->BeginScene());
  ASSERT_TRUE(FRenderer->SetRenderTarget(surface));
  EXPECT_EQ(FRenderer->GetRenderTarget(), surface);
  ASSERT_TRUE(FRenderer->Clear(nullptr, 0, ClearFlag::Target, 0x80FF0000, 1));
  const TRect corner{0, 0, 16, 8};
  ASSERT_TRUE(FRenderer->Clear(&corner, 1, ClearFlag::Target, 0xFF00FF00, 1));
  // A viewport outside the target is refused.
  EXPECT_FALSE(FRenderer->SetViewport({0, 0, 64, 64}, 0, 1));
  EXPECT_EQ(FRenderer->LastError(), TDeviceError::InvalidCall);

  auto copy = FRenderer->CopyRenderTarget(*surface);
  ASSERT_TRUE(copy);
  EXPECT_EQ(PixelAt(*copy, 3, 3), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(*copy, 20, 20), 0x80FF0000u);
  // Into a picture of the caller: the surface's size in 24 or 32 bits, nothing else.
  TBitmap rgb(32, 32, TPixelFormat::Bgr24);
  ASSERT_TRUE(FRenderer->CopyRenderTarget(*surface, rgb));
  EXPECT_EQ(rgb.Row(3)[9], 0x00);
  EXPECT_EQ(rgb.Row(3)[10], 0xFF);
  EXPECT_EQ(rgb.Row(20)[62], 0xFF);
  TBitmap small(16, 32, TPixelFormat::Bgr24), indexed(32, 32, TPixelFormat::Indexed8);
  EXPECT_FALSE(FRenderer->CopyRenderTarget(*surface, small));
  EXPECT_EQ(FRenderer->LastError(), TDeviceError::InvalidCall);
  EXPECT_FALSE(FRenderer->CopyRenderTarget(*surface, indexed));

  // Copy the target's top-left 16 x 8 doubled onto the back buffer at (10, 10).
  ASSERT_TRUE(FRenderer->SetRenderTarget(FRenderer->GetBackBuffer()));
  ASSERT_TRUE(FRenderer->Clear(nullptr, 0, ClearFlag::Target, 0xFF000000, 1));
  const TRect from{0, 0, 16, 8};
  const TRect to{10, 10, 42, 26};
  ASSERT_TRUE(FRenderer->StretchRect(*surface, *FRenderer->GetBackBuffer(), 1, &from, &to));
  auto shot = Snapshot();
  EXPECT_EQ(PixelAt(*shot, 10, 10), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(*shot, 41, 25), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(*shot, 42, 25), 0xFF000000u);
  EXPECT_EQ(PixelAt(*shot, 9, 10), 0xFF000000u);

  // The target drawn as a texture: an X8R8G8B8 render target reads as opaque.
  auto opaque = FRenderer->CreateTexture(TTextureKind::RenderTargetXrgb, 32, false, 32);
  ASSERT_TRUE(FRenderer->StretchRect(*surface, *opaque->GetLevel(0), 0, nullptr, nullptr));
  auto opaqueCopy = FRenderer->CopyRenderTarget(*opaque->GetLevel(0));
  EXPECT_EQ(PixelAt(*opaqueCopy, 20, 20), 0xFFFF0000u);
}

TEST_F(RendererTest, PixelShadersByIndex) {
  int index = -1;
  ASSERT_TRUE(FRenderer->CreatePixelShader("void main() { fragColour = uConst[1]; }", index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(FRenderer->SetPixelShader(-1));
  EXPECT_FALSE(FRenderer->SetPixelShader(1));
  EXPECT_EQ(FRenderer->LastError(), TDeviceError::InvalidCall);
  int broken = -1;
  EXPECT_FALSE(FRenderer->CreatePixelShader("void main() { nonsense }", broken));
  EXPECT_EQ(broken, -1);

  const float constants[8] = {0, 0, 0, 0, 0.0f, 1.0f, 0.0f, 1.0f};
  ASSERT_TRUE(FRenderer->SetPixelShaderConstants(0, constants, 2));
  EXPECT_FALSE(FRenderer->SetPixelShaderConstants(31, constants, 2));
  ASSERT_TRUE(FRenderer->SetPixelShader(index));
  auto quad = Quad({0, 0, kWidth, kHeight}, {0, 0, 1, 1}, 1, 1, 0xFFFFFFFF);
  ASSERT_TRUE(FRenderer->BeginScene());
  ASSERT_TRUE(FRenderer->DrawVertexList(nullptr, 0, DrawFlag::VertexColour, *quad));
  EXPECT_EQ(PixelAt(*Snapshot(), 1, 1), 0xFF00FF00u);
  ASSERT_TRUE(FRenderer->ResetPixelShader());
  ASSERT_TRUE(FRenderer->DrawVertexList(nullptr, 0, DrawFlag::VertexColour, *quad));
  EXPECT_EQ(PixelAt(*Snapshot(), 1, 1), 0xFFFFFFFFu);
}

TEST_F(RendererTest, PresentShowsTheFrameAndRenderersShareTheirWindowsContext) {
  float x = 1, y = 1;
  FRenderer->GetTexelOffset(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  ASSERT_TRUE(FRenderer->BeginScene());
  ASSERT_TRUE(FRenderer->Clear(nullptr, 0, ClearFlag::Target, 0xFF00FF00, 1));
  ASSERT_TRUE(FRenderer->EndScene());
  const TRect whole{0, 0, kWidth, kHeight};
  EXPECT_TRUE(FRenderer->Present(&whole, 1, &whole));

  // A second renderer on the same window adds a back buffer, not a second context.
  TRendererParams params;
  auto second = TestEngine().CreateRenderer(*FWindow.Device, params);
  ASSERT_TRUE(second);
  EXPECT_EQ(FWindow.Device->Find<TDevStore>()->RendererCount(), 2u);
  EXPECT_NE(second->GetBackBuffer(), FRenderer->GetBackBuffer());
  second.reset();
  EXPECT_EQ(FWindow.Device->Find<TDevStore>()->RendererCount(), 1u);
  EXPECT_TRUE(FRenderer->BeginScene());
}

// A loader hands a picture to a texture (under the device lock) while the drawing thread,
// holding that lock for its frame, waits to present it.
TEST_F(RendererTest, PicturesAreUploadedWhileAPresentWaitsForItsTurn) {
  auto texture = FRenderer->CreateTexture(TTextureKind::Argb, 4, false, 4);
  ASSERT_TRUE(texture);
  std::promise<bool> upload;
  std::thread loader;
  bool uploadedInWait = false;
  TSleepHook clock([&] {
    if (loader.joinable()) return;  // one upload, in the first wait
    loader = std::thread([&] {
      const TRect area{0, 0, 4, 4};
      T3DSurface* level = texture->GetLevel(0);
      std::unique_ptr<TBitmap> pixels = level->Lock(&area, false);
      upload.set_value(pixels && level->Unlock(std::move(pixels)));
    });
    // Waits a while at most: an upload stuck on the frame's lock ends after the present.
    std::future<bool> done = upload.get_future();
    uploadedInWait = done.wait_for(std::chrono::seconds(5)) == std::future_status::ready && done.get();
  });
  IClock* const before = SetClock(&clock);
  {
    TDeviceLockGuard frame;
    EXPECT_TRUE(FRenderer->BeginScene());
    EXPECT_TRUE(FRenderer->Clear(nullptr, 0, ClearFlag::Target, 0xFF00FF00, 1));
    EXPECT_TRUE(FRenderer->EndScene());
    EXPECT_TRUE(FRenderer->Present(nullptr, 0, nullptr));
    EXPECT_TRUE(FRenderer->BeginScene());  // the frame's lock and context are back
  }
  SetClock(before);
  if (loader.joinable()) loader.join();
  EXPECT_TRUE(uploadedInWait) << "the upload waited for the present";
}

}  // namespace
}  // namespace kiv
