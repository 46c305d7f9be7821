#include "container/placeholder_picture.h"

#include <algorithm>
#include <cmath>

#include "graphics/text_producer.h"

namespace kiv {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kBorder = 4;
constexpr int kTextMargin = 12;  // between the frame and the text
constexpr uint8_t kBlue[4] = {255, 0, 0, 255};  // blue, green, red, alpha
constexpr uint8_t kYellow[4] = {0, 255, 255, 255};
constexpr uint32_t kBlueColour = 0xFF0000FF;
constexpr double kSmallestLine = 14;  // pixels

std::unique_ptr<TBitmap> FramedGround() {
  auto bitmap = std::make_unique<TBitmap>(kWidth, kHeight, TPixelFormat::Bgra32);
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* pixel = bitmap->Row(y);
    for (int x = 0; x < kWidth; ++x, pixel += 4) {
      const bool frame = x < kBorder || y < kBorder || x >= kWidth - kBorder || y >= kHeight - kBorder;
      std::copy_n(frame ? kYellow : kBlue, 4, pixel);
    }
  }
  return bitmap;
}

// The lines in yellow on blue, scaled to fit inside the frame's margin.
std::shared_ptr<const TBitmap> TextPicture(std::vector<std::u16string> lines) {
  TTextProducer producer{TShowFileOpener()};
  TTextParams params;
  params.FontName = u"DejaVu Sans";
  params.Align = kAlignLeft;
  params.Red = 255, params.Green = 255, params.Blue = 0;
  params.Lines = std::move(lines);
  const std::shared_ptr<const TVectorText> text = producer.VectorText(params);
  if (!text) return nullptr;
  const TTextLayout unit = producer.Layout(*text, 1, params.LineSpacing);
  const double room = kWidth - 2 * (kBorder + kTextMargin);
  const double lineHeight = unit.Height / double(params.Lines.size());
  // Lines at most a tenth of the picture high, narrower when a long name needs it but
  // never too small to read: a long folder is cut at the right instead.
  const double readable = kSmallestLine / lineHeight;
  params.Size = std::min({std::max(room / unit.Width, readable),
                          (kHeight - 2 * (kBorder + kTextMargin)) / unit.Height, kHeight / 10.0 / lineHeight});
  const std::shared_ptr<TBitmapStore> store = producer.Render(params, kBlueColour);
  return store ? store->GetMipLevel(0, TPixelFormat::Bgra32) : nullptr;
}

}  // namespace

std::vector<std::u16string> PlaceholderLines(std::u16string_view name, bool couldBeOpened, bool isVideo) {
  std::u16string first = isVideo ? u"Video" : u"Image";
  first += couldBeOpened ? u" load error:" : u" not found:";
  const size_t split = name.find_last_of(u"\\/");
  const std::u16string_view file = split == std::u16string_view::npos ? name : name.substr(split + 1);
  const std::u16string_view folder = split == std::u16string_view::npos ? std::u16string_view() : name.substr(0, split + 1);
  return {first, std::u16string(file), u"Path:", std::u16string(folder)};
}

std::shared_ptr<TBitmapStore> MakePlaceholderPicture(std::u16string_view name, bool couldBeOpened, bool isVideo) {
  std::unique_ptr<TBitmap> bitmap = FramedGround();
  std::shared_ptr<const TBitmap> text;
  try {
    text = TextPicture(PlaceholderLines(name, couldBeOpened, isVideo));
  } catch (const std::exception&) {
    // the frame alone says that something is missing
  }
  if (text) {
    const int left = kBorder + kTextMargin, top = std::max(kBorder, (kHeight - text->Height()) / 2);
    for (int y = 0; y < text->Height() && top + y < kHeight - kBorder; ++y) {
      const int width = std::min(text->Width(), kWidth - kBorder - left);
      std::copy_n(text->Row(y), 4 * size_t(std::max(width, 0)), bitmap->Row(top + y) + 4 * left);
    }
  }
  return std::make_shared<TWrapperBitmapStore>(std::move(bitmap));
}

}  // namespace kiv
