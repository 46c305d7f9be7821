#include "graphics/text_layout.h"

#include <algorithm>
#include <cmath>

namespace kiv {

TTextLayout LayoutText(const TVectorText& text, double scale, double lineSpacing, uint8_t style) {
  const double s = scale;
  const TFontMetrics& font = text.Metrics();
  const double lineHeight = s * (double(font.Ascent) + double(font.Descent));
  TTextLayout layout;
  layout.Scale = s;
  double y = 0;
  for (int i = 0; i < text.LineCount(); ++i) {
    TTextLineLayout& line = layout.Lines.emplace_back();
    line.Metrics = text.LineMetrics(i);
    line.Top = std::floor(-double(font.Ascent) * s);
    line.Right = std::ceil(line.Metrics.AdvanceEnd * s);
    line.Bottom = std::ceil(double(font.Descent) * s);
    if (i > 0) y += lineHeight * lineSpacing / 200;
    line.OriginY = y;
    y += lineHeight;

    layout.Width = std::max(layout.Width, line.Right - line.Left);
    layout.LeftOverhang = std::max(layout.LeftOverhang, -s * line.Metrics.LeftExtent);
    layout.RightOverhang = std::max(layout.RightOverhang, s * (line.Metrics.RightExtent - line.Metrics.AdvanceEnd));
    layout.TopExtent = std::max(layout.TopExtent, s * line.Metrics.Above);
    layout.BottomExtent = std::max(layout.BottomExtent, s * line.Metrics.Below);
  }
  layout.Height = y;
  // The bars drawn under and through the lines reach as far as their own edges, also
  // below lines whose letters do not (an underlined "HH").
  const auto reach = [&layout, s](float position, float size) {
    layout.TopExtent = std::max(layout.TopExtent, s * double(position));
    layout.BottomExtent = std::max(layout.BottomExtent, s * (double(size) - double(position)));
  };
  if (text.LineCount() > 0 && (style & kFontUnderline)) reach(font.UnderlinePosition, font.UnderlineSize);
  if (text.LineCount() > 0 && (style & kFontStrikeOut)) reach(font.StrikeoutPosition, font.StrikeoutSize);
  return layout;
}

}  // namespace kiv
