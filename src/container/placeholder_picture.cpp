#include "container/placeholder_picture.h"

namespace kiv {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kBorder = 4;
constexpr uint8_t kBlue[4] = {255, 0, 0, 255};    // blue, green, red, alpha
constexpr uint8_t kYellow[4] = {0, 255, 255, 255};

}  // namespace

std::shared_ptr<TBitmapStore> MakePlaceholderPicture(std::u16string_view, bool, bool) {
  auto bitmap = std::make_unique<TBitmap>(kWidth, kHeight, TPixelFormat::Bgra32);
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* pixel = bitmap->Row(y);
    for (int x = 0; x < kWidth; ++x, pixel += 4) {
      const bool frame = x < kBorder || y < kBorder || x >= kWidth - kBorder || y >= kHeight - kBorder;
      std::copy_n(frame ? kYellow : kBlue, 4, pixel);
    }
  }
  return std::make_shared<TWrapperBitmapStore>(std::move(bitmap));
}

}  // namespace kiv
