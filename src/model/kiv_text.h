#pragma once
// A text on a slide ("text", "textcomment"): a picture rendered from its text by the
// host's text producer (or a picture made beforehand and stored with the show), sized
// by its box ("BlackBoxSize") and drawn in the colour of its current look. It casts a
// shadow unless told otherwise.
#include "model/kiv_image.h"
#include "model/text_keys.h"

namespace kiv {

class TKivText : public TKivImage {
 public:
  using TKivImage::TKivImage;

  const TTextKeys& TextKeys() const { return FText; }
  // The text colour of the current look ("TextColor", "TextColorHover", "TextColorClick").
  uint32_t LookColor() const;

  // The text keys (with the picture keys among them), then the common keys.
  void ReadProperties(const TIniIdentList& section) override;

 protected:
  bool DefaultShadowEnable() const override { return true; }
  // "Text: " with the text's parameters; none for an empty text. A text with "Rasterize"
  // shows the show's picture that "RasterizedGUID" names instead, in its own colours.
  std::u16string PictureName() const override;
  // The size stays the text's box; the rendered picture only fills it.
  void TakePictureSize(const TBitmapStore&) override {}
  // The picture's alpha drawn in the look's colour.
  TPictureParams PictureParams(const TQuadPlace& place) const override;
  // A text's shadow is measured by its line height: it moves 3 lines per 100 of
  // distance and blurs by line height / 400 × 1.1 per unit of size.
  TShadowCaster ShadowCaster(const TPictureParams& params) const override;

 private:
  bool UsesStoredPicture() const;

  TTextKeys FText;
};

}  // namespace kiv
