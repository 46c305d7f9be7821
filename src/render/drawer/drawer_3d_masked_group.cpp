// Masked groups: the group's content is drawn tile by tile into the content buffer over
// its background, the union of its masks into the mask buffer, and each content tile is
// drawn onto the frame with the mask tile's alpha.
#include <cmath>

#include "render/drawer/d3d_buffer.h"
#include "render/drawer/drawer_3d.h"
#include "render/drawer/pixel_shader_scope.h"
#include "render/drawer/render_target.h"
#include "render/drawer/scoped_count.h"
#include "render/screen/vertex_buffer.h"

namespace kiv {

namespace {

// Draws with blend mode for the scope's lifetime; the add mode returns after it.
class TBlendScope {
 public:
  TBlendScope(T3DScreen& screen, TBlendMode mode) : FScreen(screen) {
    FScreen.Batch().Flush();
    FScreen.Renderer()->SetBlendMode(mode);
  }
  ~TBlendScope() {
    FScreen.Batch().Flush();
    if (T3DRenderer* renderer = FScreen.Renderer()) renderer->SetBlendMode(TBlendMode::Add);
  }
  TBlendScope(const TBlendScope&) = delete;
  TBlendScope& operator=(const TBlendScope&) = delete;

 private:
  T3DScreen& FScreen;
};

TRectF ToRectF(const TRect& rect) { return {float(rect.Left), float(rect.Top), float(rect.Right), float(rect.Bottom)}; }

}  // namespace

TMaskBuffers& T3DDrawer::MaskBuffersFor(int depth) {
  while (int(FMaskBuffers.size()) <= depth) {
    FMaskBuffers.push_back(std::make_unique<TMaskBuffers>(*FScreen));
    SizeMaskBuffers(*FMaskBuffers.back());
  }
  return *FMaskBuffers[size_t(depth)];
}

void T3DDrawer::SizeMaskBuffers(TMaskBuffers& buffers) {
  const TRect& whole = GetTargetRect();
  buffers.SetSize(whole.Width(), whole.Height(), std::min(FScreen->MaxTextureWidth(), FScreen->MaxTextureHeight()));
}

void T3DDrawer::DrawMaskedGroup(TDrawItem& content, std::span<const TImageDraw> masks, const TBitmapStore* pattern) {
  if (!CanDraw() || masks.empty()) return;
  // Without the shader the content shows unmasked rather than not at all.
  if (FShaders.MaskedGroup < 0) {
    Draw(content);
    return;
  }
  // A group inside a group draws through buffers of its own.
  TMaskBuffers& buffers = MaskBuffersFor(FMaskDepth);
  TScopedCount nested(FMaskDepth);
  FScreen->Batch().Flush();
  const TRect frame = FScreen->GetRenderTargetRect();
  std::vector<TRenderTargetTile>& contentTiles = buffers.Content.Tiles();
  std::vector<TRenderTargetTile>& maskTiles = buffers.Mask.Tiles();
  for (size_t i = 0; i < contentTiles.size(); ++i) {
    const TRect& tileRect = contentTiles[i].Rect;
    const TRect area = Intersection(tileRect, frame);
    if (area.IsEmpty()) continue;
    TRenderTargetTexture& contentTile = *contentTiles[i].Texture;
    TRenderTargetTexture& maskTile = *maskTiles[i].Texture;
    if (!FillContentTile(contentTile, tileRect, area, content, pattern) || !FillMaskTile(maskTile, tileRect, masks))
      continue;
    TCustomTexture* const stages[] = {&contentTile, &maskTile};
    const float scales[] = {1, 1};
    const uint32_t white = 0xFFFFFFFFu;
    TPixelShaderScope shader(*FScreen, FShaders.MaskedGroup);
    FScreen->DrawQuad(stages, scales, {float(area.Left), float(area.Top), 0}, {float(area.Width()), 0, 0},
                      {0, float(area.Height()), 0}, ToRectF(OffsetRect(area, -tileRect.Left, -tileRect.Top)),
                      {white, white, white, white}, {0, 0, 0, 0});
  }
}

bool T3DDrawer::FillContentTile(TRenderTargetTexture& tile, const TRect& tileRect, const TRect& area,
                                TDrawItem& content, const TBitmapStore* pattern) {
  T3DRenderer& renderer = *FScreen->Renderer();
  T3DSurface* frame = renderer.GetRenderTarget();
  const TRect frameRect = FScreen->GetRenderTargetRect();
  TRenderTargetScope target(*FScreen, tile, tileRect.Left, tileRect.Top);
  if (!target.Pushed() || !frame) return false;
  FScreen->Clear(0xFF000000u, false);
  if (pattern) {
    DrawPattern(*pattern, area);
  } else {
    // The background is the frame as drawn so far, into whichever target it goes: the
    // back buffer, the unsharp-mask pass, a slide rendered for an effect, an outer group.
    const TRect from = OffsetRect(area, -frameRect.Left, -frameRect.Top);
    const TRect to = OffsetRect(area, -tileRect.Left, -tileRect.Top);
    renderer.StretchRect(*frame, *tile.GetTexture()->GetLevel(0), 1, &from, &to);
  }
  Draw(content);
  return true;
}

bool T3DDrawer::FillMaskTile(TRenderTargetTexture& tile, const TRect& tileRect, std::span<const TImageDraw> masks) {
  TRenderTargetScope target(*FScreen, tile, tileRect.Left, tileRect.Top);
  if (!target.Pushed()) return false;
  FScreen->Clear(0x00000000u, false);
  // The union of the masks: each pixel keeps the largest alpha drawn onto it.
  TBlendScope maximum(*FScreen, TBlendMode::Maximum);
  for (const TImageDraw& mask : masks) DrawImage(mask);
  return true;
}

void T3DDrawer::DrawPattern(const TBitmapStore& pattern, const TRect& area) {
  const float width = float(pattern.Width());
  const float height = float(pattern.Height());
  if (width <= 0 || height <= 0) return;
  // The grid starts at the slide area's corner.
  const TVector3 corner = ToTarget(TVector3{});
  const int firstColumn = int(std::floor((area.Left - corner.X) / width));
  const int lastColumn = int(std::ceil((area.Right - corner.X) / width));
  const int firstRow = int(std::floor((area.Top - corner.Y) / height));
  const int lastRow = int(std::ceil((area.Bottom - corner.Y) / height));
  TImageDraw cell;
  cell.Picture = &pattern;
  cell.Store = &FPatternStore;
  cell.Params.Smooth = false;
  cell.Place.AxisX = {width, 0, 0};
  cell.Place.AxisY = {0, height, 0};
  for (int row = firstRow; row < lastRow; ++row)
    for (int column = firstColumn; column < lastColumn; ++column) {
      cell.Place.Origin = {column * width, row * height, 0};
      DrawImage(cell);
    }
}

}  // namespace kiv
