#pragma once
// A text on a slide ("text", "textcomment"): a picture rendered from its text by the
// host's text producer (or a picture made beforehand and stored with the show), drawn in
// the colour of its current look. The text is scaled to fit its box ("BlackBoxSize")
// without being stretched, placed in it by its alignment and centred from top to bottom;
// its macros are replaced by the facts of its slide before it is measured. It casts a
// shadow unless told otherwise.
#include <optional>
#include <string>
#include <vector>

#include "graphics/text_params.h"
#include "model/kiv_image.h"
#include "model/text_fit.h"
#include "model/text_keys.h"

namespace kiv {

// What a text with keys renders: its font, style, alignment, spacing and colour (opaque),
// with lines.
TTextParams TextParamsOf(const TTextKeys& keys, std::vector<std::u16string> lines);

class TKivText : public TKivImage {
 public:
  using TKivImage::TKivImage;

  const TTextKeys& TextKeys() const { return FText; }
  // The text colour of the current look ("TextColor", "TextColorHover", "TextColorClick").
  uint32_t LookColor() const;
  // The lines as shown: macros replaced (once the text has been prepared).
  const std::vector<std::u16string>& ShownLines() const;
  // The lines with their macros replaced by the facts of the slide, worked out now when
  // they have not been yet.
  const std::vector<std::u16string>& ExpandedLines();
  // The text fitted in its box; none for an empty text or one that cannot be measured
  // (no font, nothing to fit in).
  const std::optional<TTextFit>& Fit() const { return FFit; }

  // The text keys (with the picture keys among them), then the common keys.
  void ReadProperties(const TIniIdentList& section) override;

 protected:
  bool DefaultShadowEnable() const override { return true; }
  // Replaces the macros and measures the text when its keys or box changed, then asks
  // for the picture.
  void EnsurePicture() override;
  // "Text: " with the text's parameters; none for an empty text. A text with "Rasterize"
  // shows the show's picture that "RasterizedGUID" names instead, in its own colours.
  std::u16string PictureName() const override;
  // The size stays the text's box; the rendered picture only fills it.
  void TakePictureSize(const TBitmapStore&) override {}
  // The rendered picture where its text lies in the box.
  TQuadPlace PictureQuad() const override;
  // The picture's alpha drawn in the look's colour.
  TPictureParams PictureParams(const TQuadPlace& place) const override;
  // A text's shadow is measured by its line height: it moves 3 lines per 100 of
  // distance and blurs by line height / 400 × 1.1 per unit of size.
  TShadowCaster ShadowCaster(const TPictureParams& params) const override;

 private:
  bool UsesStoredPicture() const;
  void Measure();

  TTextKeys FText;
  std::optional<std::vector<std::u16string>> FShownLines;  // none until prepared
  std::optional<TSizeF> FMeasuredBox;                      // the box FFit was made for
  std::optional<TTextFit> FFit;
};

}  // namespace kiv
