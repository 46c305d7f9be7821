#include "model/kiv_button.h"

#include <algorithm>
#include <cmath>

#include "graphics/text_producer.h"
#include "model/button_picture_name.h"
#include "model/kiv_text.h"
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
  FCaptionSize.reset();
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
  EnsureCaption();
  TKivImage::EnsurePicture();
}

void TKivButton::DrawOver(TDeviceDrawer& drawer, const TImageDraw& picture) {
  if (!FCaptionPicture || !FCaptionFit) return;
  TImageDraw caption;
  caption.Picture = FCaptionPicture.get();
  caption.Store = &FCaptionStore;
  caption.Place = FittedQuad(picture.Place, Size(), *FCaptionFit);
  caption.Params.Smooth = false;
  caption.Params.Sampling = TSampling::Bilinear;
  const float opacity = float(EffectiveOpacity() * FButton.TxtOpacity / 100);
  caption.Params.Opacity = std::isfinite(opacity) ? std::clamp(opacity, 0.0f, 100.0f) : 0;
  caption.Params.Tinted = true;
  caption.Params.TintColor = FSkin ? FSkin->TextColor : MakeColor(0, 0, 0);
  drawer.DrawImage(caption);
}

void TKivButton::ReleaseDeviceObjects(TDeviceDrawer& drawer) {
  if (FCaptionStore) drawer.FreeImageStore(FCaptionStore);
  TKivImage::ReleaseDeviceObjects(drawer);
}

std::optional<TTextParams> TKivButton::CaptionParams() const {
  if (!FButton.Caption || !FSkin) return std::nullopt;
  TTextParams params = TextParamsOf(*FButton.Caption, FButton.Caption->Lines);
  params.Align = kAlignCentre;
  return params;
}

void TKivButton::UpdateSize() {
  if (!FSkin) return;
  const TButtonSkinState& normal = FSkin->State(TButtonState::Normal);
  const TPixelSize natural = NaturalSize(normal);
  // The caption is as high as the caption area; its width at that height widens the button.
  double captionWidth = 0;
  const std::optional<TTextParams> caption = CaptionParams();
  if (caption && Host().TextProducer())
    if (const std::optional<TSizeF> unit = UnitTextSize(*Host().TextProducer(), *caption))
      captionWidth = unit->Width * double(normal.CaptionArea(natural.Width, natural.Height).Height()) / unit->Height;
  SetSize({float(ButtonWidth(normal, MinWidth(), FButton.BtnOffsetX, captionWidth)), float(natural.Height)});
}

void TKivButton::EnsureCaption() {
  if (FCaptionSize == Size()) return;
  FCaptionSize = Size();
  FCaptionFit.reset();
  const std::optional<TTextParams> caption = CaptionParams();
  const std::shared_ptr<TTextProducer>& producer = Host().TextProducer();
  if (caption && producer) {
    const TRect area = FSkin->State(TButtonState::Normal).CaptionArea(int32_t(Size().Width), int32_t(Size().Height));
    FCaptionFit = FitText(*producer, *caption, {float(area.Width()), float(area.Height())},
                          area.Left + FSkin->BtnOffset, area.Top);
  }
  const std::u16string name = FCaptionFit ? TextPictureName(FCaptionFit->Params) : std::u16string();
  if (FCaptionName == name) return;
  FCaptionName = name;
  FCaptionPicture.reset();
  if (name.empty()) return;
  try {
    FCaptionPicture = Host().LoadPicture(name);
  } catch (const std::exception&) {
    // a caption that cannot be rendered is left out
  }
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
