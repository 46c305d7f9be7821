#include "model/kiv_button.h"

#include <algorithm>
#include <cmath>

#include "model/button_picture_name.h"
#include "model/slide_host.h"

namespace kiv {

namespace {

// The button's width: never narrower than the skin, nor than the minimum width in % of
// it, nor than the caption with the skin's side margins, scaled by the offset in %.
// Values that are not numbers count as nothing.
int32_t ButtonWidth(const TButtonSkinState& normal, double minWidthPercent, double offsetXPercent,
                    double captionWidth) {
  const int32_t natural = NaturalSize(normal).Width;
  const double margins = double(normal.Piece(TSkinPart::Left).X2) + normal.Piece(TSkinPart::Right).Width();
  const double wanted = std::max(natural * minWidthPercent / 100, captionWidth + margins * offsetXPercent / 100);
  if (!(wanted > natural)) return natural;
  return int32_t(std::min(std::ceil(wanted), double(kMaxPictureSide)));
}

}  // namespace

double TKivButton::MinWidth() const {
  if (FMinWidthGiven || !FSkin) return FButton.BtnMinWidth;
  return FSkin->BtnMinWidth;
}

void TKivButton::ReadProperties(const TIniIdentList& section) {
  FButton = ReadButtonKeys(section, FButton.BtnMinWidth);
  FMinWidthGiven = FMinWidthGiven || section.FindIdent(u"BtnMinWidth");
  SetImageKeys(FButton.Image);
  UpdateSize();
  TKivObject::ReadProperties(section);
}

void TKivButton::EnsurePicture() {
  if (FSkinTheme != FButton.Theme) {
    FSkinTheme = FButton.Theme;
    FSkin = Host().ButtonSkin(FButton.Theme);
    FSkinFolder = FSkin ? Host().ButtonPath() + FSkin->Theme : std::u16string();
    UpdateSize();
  }
  TKivImage::EnsurePicture();
}

void TKivButton::UpdateSize() {
  if (!FSkin) return;
  const TButtonSkinState& normal = FSkin->State(TButtonState::Normal);
  // The caption has no width until texts are measured.
  SetSize({float(ButtonWidth(normal, MinWidth(), FButton.BtnOffsetX, 0)), float(NaturalSize(normal).Height)});
}

std::u16string TKivButton::PictureName() const {
  if (!FSkin) return {};
  return ButtonPictureName({FSkinFolder, Look(), {int32_t(Size().Width), int32_t(Size().Height)},
                            ClampedHslShift({FButton.Hue, FButton.Saturation, FButton.Lightness})});
}

TPictureParams TKivButton::PictureParams(const TQuadPlace& place) const {
  TPictureParams params = TKivImage::PictureParams(place);
  const float opacity = float(params.Opacity * FButton.BtnOpacity / 100);
  if (std::isfinite(opacity)) params.Opacity = opacity;
  if (FSkin) params.Sampling = TSampling(FSkin->Filtering);
  return params;
}

TShadowCaster TKivButton::ShadowCaster(const TPictureParams& params) const {
  TShadowCaster caster = TKivImage::ShadowCaster(params);
  caster.OffsetMeasure = 3 * Size().Height;
  caster.BlurFactor = caster.LevelSize.Height / 400 * 1.1f;
  return caster;
}

}  // namespace kiv
