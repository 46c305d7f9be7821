#pragma once
// A button on a slide ("button"): a picture composed from a button skin at the
// button's size, in the look of the pointer over it (normal, hover, click), with its
// caption (the button's "Text") over it: as high as the skin's caption area, in the
// skin's caption colour, at "TxtOpacity", moved right by the skin's caption offset. The
// button grows to hold its caption.
#include <memory>
#include <optional>
#include <string>

#include "model/button_keys.h"
#include "model/button_picture.h"
#include "model/kiv_image.h"
#include "model/text_fit.h"

namespace kiv {

class TKivButton : public TKivImage {
 public:
  using TKivImage::TKivImage;

  const TButtonKeys& ButtonKeys() const { return FButton; }
  // The skin of "Theme" (or of the fall-back theme); none until resources are loaded, and
  // when neither skin exists.
  const std::shared_ptr<const TButtonSkin>& Skin() const { return FSkin; }
  // The minimum width in % of the skin width: the project's "BtnMinWidth", else the skin's.
  double MinWidth() const;
  // The caption offset: the skin's "BtnOffset".
  double CaptionOffset() const { return FSkin ? FSkin->BtnOffset : 0; }

  // The button keys (with the picture keys among them), then the common keys.
  void ReadProperties(const TIniIdentList& section) override;

 protected:
  // "Button: " with the skin, look and size; none without skin.
  std::u16string PictureName() const override;
  // Reads the skin when the theme changed, then the picture.
  void EnsurePicture() override;
  // The size follows the skin and the caption, not the picture.
  void TakePictureSize(const TBitmapStore&) override {}
  void DrawOver(TDeviceDrawer& drawer, const TImageDraw& picture) override;
  void ReleaseDeviceObjects(TDeviceDrawer& drawer) override;
  // The body's opacity ("BtnOpacity") and the skin's sampling.
  TPictureParams PictureParams(const TQuadPlace& place) const override;
  // A button's shadow is measured by its height: it moves 3 heights per 100 of distance
  // and blurs by height / 400 × 1.1 per unit of size.
  TShadowCaster ShadowCaster(const TPictureParams& params) const override;

 private:
  void UpdateSize();
  // The caption fitted in the caption area at the button's size, and its picture.
  void EnsureCaption();
  // The caption's text, or none.
  std::optional<TTextParams> CaptionParams() const;

  TButtonKeys FButton;
  bool FMinWidthGiven = false;  // once the project gave "BtnMinWidth", re-reads keep it
  std::optional<std::u16string> FSkinTheme;  // the theme FSkin was asked for
  std::shared_ptr<const TButtonSkin> FSkin;
  std::u16string FSkinFolder;  // the skin's folder prefix and theme
  std::optional<TSizeF> FCaptionSize;  // the button size FCaptionFit was made for
  std::optional<TTextFit> FCaptionFit;
  std::optional<std::u16string> FCaptionName;  // the caption picture last asked for
  std::shared_ptr<TBitmapStore> FCaptionPicture;
  std::unique_ptr<TImageStore> FCaptionStore;
};

}  // namespace kiv
