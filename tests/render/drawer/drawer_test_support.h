#pragma once
// The drawer on a small offscreen window, items made of lambdas, pictures built in code
// or written by ImageMagick's convert, and frames read back pixel by pixel.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "base/file_stream.h"
#include "graphics/picture_loaders.h"
#include "render/device/device_test_support.h"
#include "render/drawer/draw_item.h"
#include "render/drawer/drawer_3d.h"
#include "render/screen/screen_3d.h"

namespace kiv::testing {

inline constexpr int kWidth = 320;
inline constexpr int kHeight = 224;

// An item that draws with a function.
class TLambdaItem : public TDrawItem {
 public:
  explicit TLambdaItem(std::function<void(TDeviceDrawer&)> draw) : FDraw(std::move(draw)) {}
  void Draw(TDeviceDrawer& drawer) override { FDraw(drawer); }

 private:
  std::function<void(TDeviceDrawer&)> FDraw;
};

inline TQuadPlace Place(float left, float top, float width, float height) {
  return {{left, top, 0}, {width, 0, 0}, {0, height, 0}};
}

inline TBoxParams SolidBox(uint32_t colour) {
  TBoxParams box;
  box.Color1 = colour;
  return box;
}

// An item that fills a rectangle of the slide area with one colour.
inline std::unique_ptr<TLambdaItem> BoxItem(uint32_t colour, float left = 0, float top = 0, float width = kWidth,
                                            float height = kHeight) {
  return std::make_unique<TLambdaItem>(
      [=](TDeviceDrawer& drawer) { drawer.DrawBox(Place(left, top, width, height), SolidBox(colour)); });
}

// A picture of one colour (0xAARRGGBB).
inline std::shared_ptr<TBitmapStore> SolidPicture(int width, int height, uint32_t colour) {
  auto bitmap = std::make_unique<TBitmap>(width, height, TPixelFormat::Bgra32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetPixel(*bitmap, x, y, colour);
  return std::make_shared<TWrapperBitmapStore>(std::move(bitmap));
}

// The picture ImageMagick's convert makes with arguments into a file of name; null when
// convert fails.
inline std::shared_ptr<TBitmapStore> ConvertedPicture(const std::string& arguments, const std::string& name) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("kiv_drawer_" + std::to_string(::getpid()) + "_" + name);
  if (std::system(("convert " + arguments + " '" + path.string() + "' 2>/dev/null").c_str()) != 0) return nullptr;
  TFileStream stream(path.string(), TFileMode::OpenRead);
  std::shared_ptr<TBitmapStore> store = LoadBitmapStore(stream, path.u16string());
  std::filesystem::remove(path);
  return store;
}

class DrawerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FWindow = MakeTestWindow(kWidth, kHeight);
    FDrawer = std::make_unique<T3DDrawer>(TestEngine());
    FDrawer->Init(FWindow.Device.get());
  }

  // Draws item as one frame and reads the frame back.
  std::unique_ptr<TBitmap> Frame(TDrawItem& item) {
    FDrawer->Draw(item);
    return Shot();
  }
  std::unique_ptr<TBitmap> Frame(const std::function<void(TDeviceDrawer&)>& draw) {
    TLambdaItem item(draw);
    return Frame(item);
  }
  std::unique_ptr<TBitmap> Shot() {
    T3DRenderer& renderer = *FDrawer->Screen().Renderer();
    return renderer.CopyRenderTarget(*renderer.GetBackBuffer());
  }

  TTestWindow FWindow;
  std::unique_ptr<T3DDrawer> FDrawer;
};

// Channels of a pixel, for comparisons with a tolerance.
inline int Red(uint32_t pixel) { return int((pixel >> 16) & 0xFF); }
inline int Green(uint32_t pixel) { return int((pixel >> 8) & 0xFF); }
inline int Blue(uint32_t pixel) { return int(pixel & 0xFF); }

}  // namespace kiv::testing
