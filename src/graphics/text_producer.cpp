#include "graphics/text_producer.h"

#include <cmath>
#include <set>

#include "graphics/cached_vector_text.h"
#include "graphics/pixel_blend.h"
#include "graphics/raster_helper.h"
#include "graphics/simple_vector_text.h"
#include "graphics/stored_vector_text.h"

namespace kiv {

namespace {

constexpr size_t kRecentTexts = 8;
// Pixels per outline unit beyond this are damage, not a size to draw at.
constexpr double kLargestScale = 1e6;
// A text picture larger than this (256 MB) is no text a screen shows; it is refused
// before anything is allocated for it.
constexpr int64_t kMaxTextPixels = int64_t(1) << 26;

// A pixel position of a rectangle that may lie far off the picture (offsets come from
// show data), kept inside int32.
int32_t ClampedPixel(double v) {
  if (!(v > -1e9)) return v < 0 || std::isnan(v) ? int32_t(-1e9) : int32_t(1e9);
  return v > 1e9 ? int32_t(1e9) : int32_t(std::lround(v));
}

TPath Bar(double left, double top, double right, double bottom) {
  const float l = float(std::round(left)), t = float(std::round(top));
  const float r = float(std::round(right)), b = float(std::round(bottom));
  TPath path;
  path.MoveTo(l, t).LineTo(r, t).LineTo(r, b).LineTo(l, b);
  return path;
}

// Every clear pixel becomes background, every partly covered one is laid over it.
void PutOverBackground(TBitmap& picture, uint32_t background) {
  for (int y = 0; y < picture.Height(); ++y) {
    uint8_t* p = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, p += 4) {
      if (p[3] == 255) continue;
      const uint32_t ink = uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
      p[0] = uint8_t(background);
      p[1] = uint8_t(background >> 8);
      p[2] = uint8_t(background >> 16);
      p[3] = uint8_t(background >> 24);
      if (ink >> 24) BlendOver(p, ink);
    }
  }
}

}  // namespace

TTextProducer::TTextProducer(TShowFileOpener open) : FOpen(std::move(open)) {}

std::shared_ptr<const TVectorText> TTextProducer::VectorText(const TTextParams& params) {
  const std::u16string name = StoredVectorTextName(params);
  {
    std::lock_guard lock(FLock);
    for (const auto& [held, text] : FRecent)
      if (held == name) return text;
  }
  std::shared_ptr<const TVectorText> text = StoredText(name);
  if (!text) text = TSimpleVectorText::Build(params.FontName, params.Style, params.Lines);
  if (!text) return nullptr;
  std::lock_guard lock(FLock);
  FRecent.emplace_front(name, text);
  if (FRecent.size() > kRecentTexts) FRecent.pop_back();
  return text;
}

std::shared_ptr<const TVectorText> TTextProducer::StoredText(const std::u16string& name) {
  if (!FOpen) return nullptr;
  const std::unique_ptr<TStream> stream = FOpen(name);
  if (!stream) return nullptr;
  std::optional<TVectorTextData> data = ReadStoredVectorText(*stream);
  if (!data) return nullptr;

  std::set<std::u16string> specs;
  for (const TGlyphLine& line : data->Lines)
    for (const TGlyphPointer& glyph : line.Glyphs) specs.insert(glyph.FontSpec);
  TGlyphCacheMap caches;
  for (const std::u16string& spec : specs) {
    std::shared_ptr<const TGlyphCache> cache = FontCache().Load(spec, FOpen);
    if (!cache) {
      // Without its outlines the stored form cannot be drawn; the whole text is built
      // from the installed fonts instead, so that it is never lost.
      LogTextFaultOnce(u"Font " + spec + u" not found");
      return nullptr;
    }
    caches.emplace(spec, std::move(cache));
  }
  return std::make_shared<TCachedVectorText>(std::move(*data), std::move(caches));
}

std::shared_ptr<TBitmapStore> TTextProducer::Render(const TTextParams& params, std::optional<uint32_t> background,
                                                    const std::function<bool()>& cancel) {
  if (!(params.Size > 0) || !(params.Size <= kLargestScale)) return nullptr;
  const std::shared_ptr<const TVectorText> text = VectorText(params);
  return text ? RenderVectorText(*text, params, background, cancel) : nullptr;
}

std::shared_ptr<TBitmapStore> RenderVectorText(const TVectorText& text, const TTextParams& params,
                                               std::optional<uint32_t> background,
                                               const std::function<bool()>& cancel) {
  const double s = params.Size;
  if (!(s > 0) || !(s <= kLargestScale)) return nullptr;
  const TTextLayout layout = LayoutText(text, s, params.LineSpacing, params.Style);
  const TFontMetrics& font = text.Metrics();
  const double width = std::ceil(layout.LeftOverhang) + std::round(layout.Width) + std::ceil(layout.RightOverhang) + 2;
  const double height = std::ceil(layout.TopExtent - s * font.Ascent) + std::round(layout.Height) +
                        std::ceil(layout.BottomExtent - s * font.Descent) + 2;
  // Also false for sizes that are not numbers, before anything is converted or allocated.
  if (!(width >= 1 && width <= kMaxPictureSide && height >= 1 && height <= kMaxPictureSide)) return nullptr;
  if (!AllowedPictureSize(int64_t(width), int64_t(height)) || int64_t(width) * int64_t(height) > kMaxTextPixels)
    return nullptr;

  const uint32_t colour = params.Colour();
  TRasterHelper raster;
  raster.SetFillColour(colour);
  raster.BeginPaint(int(width), int(height));
  auto rects = std::make_shared<std::vector<TRect>>();
  for (int i = 0; i < text.LineCount(); ++i) {
    const TTextLineLayout& line = layout.Lines[size_t(i)];
    double ox = double(params.OffsetX) + 1;
    const double oy = line.OriginY + double(params.OffsetY) + 1;
    if (params.Align == kAlignCentre) ox = layout.Width / 2 + ox - (line.Left + line.Right) / 2;
    if (params.Align == kAlignRight) ox = layout.Width + ox - line.Right;
    const double down = s * font.Ascent;
    rects->push_back({ClampedPixel(ox + line.Left), ClampedPixel(oy + down + line.Top),
                      ClampedPixel(ox + line.Right), ClampedPixel(oy + down + line.Bottom)});

    const double baseX = ox + layout.LeftOverhang;
    const double baseY = oy + layout.TopExtent;
    for (int j = 0; j < text.GlyphCount(i); ++j) {
      const std::optional<TScaledGlyph> glyph = text.Glyph(i, j);
      if (!glyph || glyph->Data->Outline.Points.empty()) continue;
      const float scale = float(s * glyph->Scale);
      raster.SetMatrix({scale, 0, 0, scale, float(baseX + s * text.Pointer(i, j).PenX), float(baseY)});
      raster.FillPath(glyph->Data->Outline, false);
    }
    raster.SetMatrix({float(s), 0, 0, float(s), float(baseX), float(baseY)});
    const double end = line.Metrics.AdvanceEnd;
    if (params.Style & kFontUnderline)
      raster.FillPath(Bar(0, -font.UnderlinePosition, end, font.UnderlineSize - font.UnderlinePosition), false);
    if (params.Style & kFontStrikeOut)
      raster.FillPath(Bar(0, -font.StrikeoutPosition, end, font.StrikeoutSize - font.StrikeoutPosition), false);

    if (cancel && cancel()) {
      raster.EndPaint();
      return nullptr;
    }
  }
  std::unique_ptr<TBitmap> picture = raster.EndPaint();
  if (background && *background != (colour & 0x00FFFFFF)) PutOverBackground(*picture, *background);
  auto store = std::make_shared<TWrapperBitmapStore>(std::move(picture));
  store->SetLineRects(std::move(rects));
  return store;
}

}  // namespace kiv
