// Masked groups: the group's content is drawn tile by tile into the content buffer over
// its background, the union of its masks into the mask buffer, and each content tile is
// drawn onto the frame with the mask tile's alpha. A single mask lying flat skips the
// mask buffer: it is drawn straight onto the frame, showing the content tile under it.
#include <algorithm>
#include <cmath>

#include "render/drawer/drawer_3d.h"
#include "render/drawer/pixel_shader_scope.h"
#include "render/drawer/render_target.h"
#include "render/drawer/scoped_count.h"
#include "render/drawer/tiled_render_target.h"
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

// Draws only into area (screen pixels) of the current target for the scope's lifetime:
// the viewport covers it and the camera sees just it. The whole target is seen after it.
class TAreaViewScope {
 public:
  TAreaViewScope(T3DScreen& screen, const TRect& area) : FScreen(screen), FTarget(screen.GetRenderTargetRect()) {
    FScreen.Batch().Flush();
    FSet = FScreen.Renderer()->SetViewport(OffsetRect(area, -FTarget.Left, -FTarget.Top), 0, 1);
    if (FSet) View(area);
  }
  ~TAreaViewScope() {
    if (!FSet) return;
    FScreen.Batch().Flush();
    if (T3DRenderer* renderer = FScreen.Renderer())
      renderer->SetViewport(OffsetRect(FTarget, -FTarget.Left, -FTarget.Top), 0, 1);
    View(FTarget);
  }
  TAreaViewScope(const TAreaViewScope&) = delete;
  TAreaViewScope& operator=(const TAreaViewScope&) = delete;

  bool Set() const { return FSet; }

 private:
  void View(const TRect& rect) {
    FScreen.SetupView(float(rect.Left), float(rect.Top), float(FScreen.Height()), float(FScreen.Width()),
                      float(rect.Height()), float(rect.Width()));
  }

  T3DScreen& FScreen;
  TRect FTarget;
  bool FSet = false;
};

// Every quad drawn in the scope also carries texture on its next stage.
class TTrailingStageScope {
 public:
  TTrailingStageScope(T3DScreen& screen, TCustomTexture& texture) : FScreen(screen) {
    FScreen.SetTrailingStage(&texture);
  }
  ~TTrailingStageScope() { FScreen.SetTrailingStage(nullptr); }
  TTrailingStageScope(const TTrailingStageScope&) = delete;
  TTrailingStageScope& operator=(const TTrailingStageScope&) = delete;

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
  // One flat mask is drawn straight onto the frame: only the tiles it reaches are filled.
  const TRect direct = DirectMaskReach(masks);
  const TRect reach = direct.IsEmpty() ? frame : Intersection(frame, direct);
  std::vector<TRenderTargetTile>& contentTiles = buffers.Content.Tiles();
  std::vector<TRenderTargetTile>& maskTiles = buffers.Mask.Tiles();
  for (size_t i = 0; i < contentTiles.size(); ++i) {
    const TRect& tileRect = contentTiles[i].Rect;
    const TRect area = Intersection(tileRect, reach);
    if (area.IsEmpty()) continue;
    TRenderTargetTexture& contentTile = *contentTiles[i].Texture;
    TRenderTargetTexture& maskTile = *maskTiles[i].Texture;
    if (!FillContentTile(contentTile, tileRect, area, content, pattern)) continue;
    if (!direct.IsEmpty() && DrawMaskOverContent(masks[0], contentTile, tileRect, area)) continue;
    if (!FillMaskTile(maskTile, tileRect, masks)) continue;
    TCustomTexture* const stages[] = {&contentTile, &maskTile};
    const float scales[] = {1, 1};
    const uint32_t white = 0xFFFFFFFFu;
    TPixelShaderScope shader(*FScreen, FShaders.MaskedGroup);
    FScreen->DrawQuad(stages, scales, {float(area.Left), float(area.Top), 0}, {float(area.Width()), 0, 0},
                      {0, float(area.Height()), 0}, ToRectF(OffsetRect(area, -tileRect.Left, -tileRect.Top)),
                      {white, white, white, white}, {0, 0, 0, 0});
  }
}

TRect T3DDrawer::DirectMaskReach(std::span<const TImageDraw> masks) const {
  // On Intel's adapters groups keep to the mask tiles.
  if (FIntel || FShaders.MaskedGroupDirect < 0 || masks.size() != 1 || ContentRect() != GetTargetRect()) return {};
  const TImageDraw& mask = masks[0];
  const TPictureParams& params = mask.Params;
  // The mask must reach the frame through the picture's own quads alone, with their
  // alpha as the mask tile would keep it: no tint shader, no border bars, and the
  // level of detail chosen as the fixed stages choose it.
  if (!mask.Picture || !mask.Store || params.Opacity <= 0 || params.Tinted || params.BorderWidth > 0 ||
      params.MipLodBias != 0)
    return {};
  const TQuadPlace place = ToTarget(mask.Place);
  // Lying flat, every point of the mask is drawn on the screen pixel it stands on,
  // whichever target or viewport it is drawn through.
  if (place.Origin.Z != 0 || place.AxisX.Z != 0 || place.AxisY.Z != 0) return {};
  const TVector3 corners[] = {place.Origin, place.Origin + place.AxisX, place.Origin + place.AxisY,
                              place.Origin + place.AxisX + place.AxisY};
  float left = corners[0].X, top = corners[0].Y, right = left, bottom = top;
  for (const TVector3& corner : corners) {
    left = std::min(left, corner.X);
    top = std::min(top, corner.Y);
    right = std::max(right, corner.X);
    bottom = std::max(bottom, corner.Y);
  }
  // Softened edges fade out over a ring of a pixel beyond the quad; one more for rounding.
  constexpr float kRing = 2;
  const auto clampToInt = [](float value) { return int(std::clamp(value, -1e9f, 1e9f)); };
  const TRect reach{clampToInt(std::floor(left - kRing)), clampToInt(std::floor(top - kRing)),
                    clampToInt(std::ceil(right + kRing)), clampToInt(std::ceil(bottom + kRing))};
  // A mask that covers nothing still takes the mask tiles, which draw nothing.
  return reach.IsEmpty() ? TRect{} : reach;
}

bool T3DDrawer::DrawMaskOverContent(const TImageDraw& mask, TRenderTargetTexture& tile, const TRect& tileRect,
                                    const TRect& area) {
  TAreaViewScope view(*FScreen, area);
  if (!view.Set()) return false;
  // Target pixel plus this offset is the content tile's pixel under the same screen pixel.
  const TRect frame = FScreen->GetRenderTargetRect();
  const float offset[] = {float(frame.Left - tileRect.Left), float(frame.Top - tileRect.Top), 0, 0};
  TTrailingStageScope content(*FScreen, tile);
  TPixelShaderScope shader(*FScreen, FShaders.MaskedGroupDirect, offset);
  if (!shader.Active()) return false;
  DrawImage(mask);
  return true;
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
