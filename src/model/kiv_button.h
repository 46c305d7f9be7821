#pragma once
// A button on a slide ("button"): a picture composed from a button skin at the
// button's size, in the look of the pointer over it (normal, hover, click).
#include <memory>
#include <optional>
#include <string>

#include "model/button_keys.h"
#include "model/button_picture.h"
#include "model/kiv_image.h"

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
  // The body's opacity ("BtnOpacity") and the skin's sampling.
  TPictureParams PictureParams(const TQuadPlace& place) const override;
  // A button's shadow is measured by its height: it moves 3 heights per 100 of distance
  // and blurs by height / 400 × 1.1 per unit of size.
  TShadowCaster ShadowCaster(const TPictureParams& params) const override;

 private:
  void UpdateSize();

  TButtonKeys FButton;
  bool FMinWidthGiven = false;  // once the project gave "BtnMinWidth", re-reads keep it
  std::optional<std::u16string> FSkinTheme;  // the theme FSkin was asked for
  std::shared_ptr<const TButtonSkin> FSkin;
  std::u16string FSkinFolder;  // the skin's folder prefix and theme
};

}  // namespace kiv
