#include "model/kiv_text.h"

#include "model/key_size.h"
#include "model/text_picture_name.h"

namespace kiv {

uint32_t TKivText::LookColor() const {
  switch (Look()) {
    case TButtonState::Hover:
      return FText.TextColorHover;
    case TButtonState::Click:
      return FText.TextColorClick;
    case TButtonState::Normal:
      break;
  }
  return FText.TextColor;
}

void TKivText::ReadProperties(const TIniIdentList& section) {
  FText = ReadTextKeys(section, Kind());
  SetImageKeys(FText.Image);
  SetSize(KeySize(FText.BlackBoxSize));
  TKivObject::ReadProperties(section);
}

bool TKivText::UsesStoredPicture() const { return FText.Rasterize && !FText.RasterizedGUID.empty(); }

std::u16string TKivText::PictureName() const {
  if (UsesStoredPicture()) return FText.RasterizedGUID;
  if (FText.Empty) return {};
  // The producer scales the text so that its lines fill the box.
  return TextPictureName(FText, double(Size().Height) / double(FText.Lines.size()));
}

TPictureParams TKivText::PictureParams(const TQuadPlace& place) const {
  TPictureParams params = TKivImage::PictureParams(place);
  if (UsesStoredPicture()) return params;
  params.Tinted = true;
  params.TintColor = LookColor();
  return params;
}

TShadowCaster TKivText::ShadowCaster(const TPictureParams& params) const {
  TShadowCaster caster = TKivImage::ShadowCaster(params);
  const float lines = float(FText.Lines.size());
  caster.OffsetMeasure = 3 * Size().Height / lines;
  caster.BlurFactor = caster.LevelSize.Height / lines / 400 * 1.1f;
  return caster;
}

}  // namespace kiv
