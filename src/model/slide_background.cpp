#include "model/slide_background.h"

#include <cmath>

#include "graphics/bitmap_store.h"

namespace kiv {

TSlideBackground ReadSlideBackground(const TIniIdentList& main, const TIniIdentList* slide) {
  const bool personal = slide && slide->ReadBool(u"UsePersonal", false) && slide->ReadBool(u"Pers_Fon", false);
  const TIniIdentList& source = personal ? *slide : main;
  const std::u16string prefix = personal ? u"" : u"opt_";
  const auto key = [&prefix](std::u16string_view name) { return prefix + std::u16string(name); };

  TSlideBackground background;
  switch (source.ReadInteger(key(u"bstyle"), 0)) {
    case 1:
      background.Color = uint32_t(source.ReadInteger(key(u"bname"), 0));
      break;
    case 2:
      background.PictureName = source.ReadString(key(u"bname"), u"");
      if (background.PictureName.empty()) break;
      background.Style = TBackgroundStyle::Picture;
      background.SizePercent = source.ReadFloat(key(u"bsize"), 100);
      if (!(background.SizePercent > 0) || !std::isfinite(background.SizePercent)) background.SizePercent = 100;
      break;
    case 3: {
      background.Style = TBackgroundStyle::Gradient;
      const int direction = source.ReadInteger(key(u"bcolorstyle"), 1);
      if (direction == 1 || direction == 2) background.GradientDirection = direction;
      background.Color1 = uint32_t(source.ReadInteger(key(u"bcolor1"), 0));
      background.Color2 = uint32_t(source.ReadInteger(key(u"bcolor2"), 0));
      break;
    }
    default:
      break;
  }
  return background;
}

TBackgroundFit FitBackground(TSizeF picture, TSizeF slide, double sizePercent) {
  const double k = FitFactor(TFitMode::PlaceInto, picture, slide) * sizePercent / 100;
  TBackgroundFit fit{{float(picture.Width * k), float(picture.Height * k)}, 0};
  double width = picture.Width, height = picture.Height;
  while (fit.Halvings < TBitmapStore::kMaxMipLevel && width >= 2.0 * fit.Size.Width &&
         height >= 2.0 * fit.Size.Height) {
    width /= 2;
    height /= 2;
    ++fit.Halvings;
  }
  return fit;
}

TBoxParams BackgroundBox(const TSlideBackground& background) {
  const auto opaque = [](uint32_t color) { return color | 0xFF000000u; };
  TBoxParams box;
  box.Color1 = box.Color2 = background.Style == TBackgroundStyle::Solid ? opaque(background.Color) : opaque(0);
  if (background.Style == TBackgroundStyle::Gradient) {
    box.Kind = background.GradientDirection == 2 ? 6 : 5;
    box.Color1 = opaque(background.Color1);
    box.Color2 = opaque(background.Color2);
  }
  return box;
}

}  // namespace kiv
