#include "model/text_fit.h"

#include <algorithm>
#include <cmath>

#include "graphics/text_producer.h"

namespace kiv {

std::optional<TSizeF> UnitTextSize(TTextProducer& producer, const TTextParams& params) {
  const std::shared_ptr<const TVectorText> text = producer.VectorText(params);
  if (!text) return std::nullopt;
  const TTextLayout unit = producer.Layout(*text, 1, params.LineSpacing);
  if (!(unit.Width > 0) || !(unit.Height > 0)) return std::nullopt;
  return TSizeF{float(unit.Width), float(unit.Height)};
}

std::optional<TTextFit> FitText(TTextProducer& producer, TTextParams params, TSizeF box, double shiftX,
                                double shiftY) {
  if (!(box.Width >= 1) || !(box.Height >= 1)) return std::nullopt;
  const std::shared_ptr<const TVectorText> text = producer.VectorText(params);
  if (!text) return std::nullopt;
  const TTextLayout unit = producer.Layout(*text, 1, params.LineSpacing);
  const double scale = std::min(box.Width / unit.Width, box.Height / unit.Height);
  if (!(scale > 0) || !std::isfinite(scale)) return std::nullopt;
  params.Size = scale;
  const TTextLayout layout = producer.Layout(*text, scale, params.LineSpacing, params.Style);
  const TFontMetrics& metrics = text->Metrics();
  // As the renderer lays the picture out: overhangs and extents beyond the lines, and a
  // pixel of margin.
  const double marginLeft = 1 + std::ceil(layout.LeftOverhang);
  const double marginTop = 1 + std::ceil(layout.TopExtent - scale * metrics.Ascent);
  const double width = marginLeft + std::round(layout.Width) + std::ceil(layout.RightOverhang) + 1;
  const double height =
      marginTop + std::round(layout.Height) + std::ceil(layout.BottomExtent - scale * metrics.Descent) + 1;
  double left = 0;
  if (params.Align == kAlignCentre) left = (box.Width - layout.Width) / 2;
  if (params.Align == kAlignRight) left = box.Width - layout.Width;
  const double top = (box.Height - layout.Height) / 2;
  return TTextFit{std::move(params), left + shiftX - marginLeft, top + shiftY - marginTop, width, height};
}

TQuadPlace FittedQuad(const TQuadPlace& whole, TSizeF boxSize, const TTextFit& fit) {
  const float left = float(fit.Left / boxSize.Width), top = float(fit.Top / boxSize.Height);
  const float width = float(fit.Width / boxSize.Width), height = float(fit.Height / boxSize.Height);
  return {whole.Origin + whole.AxisX * left + whole.AxisY * top, whole.AxisX * width, whole.AxisY * height};
}

}  // namespace kiv
