// Pictures, boxes and frames.
#include <algorithm>
#include <cmath>

#include "render/drawer/box_colours.h"
#include "render/drawer/drawer_3d.h"
#include "render/drawer/pixel_shader_scope.h"
#include "render/drawer/texture_store.h"
#include "render/screen/box_antialiaser.h"
#include "render/screen/texture_tile.h"

namespace kiv {

namespace {

double Length(const TVector3& v) { return std::sqrt(Dot(v, v)); }

constexpr uint32_t kWhite = 0xFFFFFFFFu;

}  // namespace

void T3DDrawer::DrawImage(const TImageDraw& image) {
  const TPictureParams& params = image.Params;
  if (!CanDraw() || params.Opacity <= 0) return;
  if (FDrawingCustomEffect && FEffecter && (image.EffectBuffer == 1 || image.EffectBuffer == 2)) {
    DrawEffectBuffer(image);
    return;
  }
  if (!image.Picture || !image.Store) return;
  std::lock_guard lock(FLock);
  if (!*image.Store) *image.Store = std::make_unique<TTextureStore>();
  auto* store = dynamic_cast<TTextureStore*>(image.Store->get());
  if (!store) return;
  // The picture at a reduced level is smaller; it still covers the same place.
  const int level = std::clamp(params.Level, 0, TBitmapStore::kMaxMipLevel);
  const int columns = std::clamp(params.Columns, 1, std::max(1, image.Picture->Width() >> level));
  const int rows = std::clamp(params.Rows, 1, std::max(1, image.Picture->Height() >> level));
  TMultiTexture6* texture = store->Take(Tiles(), *image.Picture, level, columns, rows);
  if (!texture) return;
  // Tiles are pooled: each draw sets how its picture is sampled.
  for (const TPlacedTile& placed : texture->Tiles()) {
    placed.Tile->SetPointFilter(params.Sampling == TSampling::Nearest);
    placed.Tile->SetMipLodBias(params.MipLodBias);
  }
  const TRectF source = AnimationFrame(texture->Width(), texture->Height(), columns, rows, params.Frame);
  const TQuadPlace place = ToTarget(image.Place);
  // A border lies over the picture's edge and takes its smoothing: a picture smoothed
  // beneath it would show a fringe of its own colour outside the border.
  const bool bordered = params.BorderWidth > 0;
  const uint8_t soft = params.Smooth && !bordered ? 1 : 0;
  {
    TPixelShaderScope tint(*FScreen, params.Tinted ? FShaders.Tint : -1);
    texture->Draw(source, place.Origin, place.AxisX, place.AxisY,
                  ScaleAlpha(params.Tinted ? params.TintColor : kWhite, params.Opacity), {soft, soft, soft, soft});
  }
  if (bordered)
    DrawBars(place, params.BorderWidth, params.BorderWidth, ScaleAlpha(params.BorderColor, params.Opacity), params.Smooth);
}

void T3DDrawer::FreeImageStore(std::unique_ptr<TImageStore>& store) {
  std::lock_guard lock(FLock);
  store.reset();
}

void T3DDrawer::DrawBox(const TQuadPlace& place, const TBoxParams& box) {
  if (!CanDraw() || box.Opacity <= 0) return;
  DrawBoxQuad(ToTarget(place), BoxCornerColours(box),
              {box.SoftLeft, box.SoftTop, box.SoftRight, box.SoftBottom});
}

void T3DDrawer::DrawFrame(const TQuadPlace& place, const TFrameParams& frame) {
  if (!CanDraw() || frame.Opacity <= 0) return;
  DrawBars(ToTarget(place), frame.ThicknessX, frame.ThicknessY, ScaleAlpha(frame.Color, frame.Opacity), frame.Soft);
}

void T3DDrawer::DrawBoxQuad(const TQuadPlace& place, const TCornerColours& colours, const TEdgeMask& edges) {
  if (edges[0] || edges[1] || edges[2] || edges[3])
    FBoxes->Draw(place.Origin, place.AxisX, place.AxisY, colours, edges);
  else
    FScreen->DrawQuad(nullptr, place.Origin, place.AxisX, place.AxisY, {}, colours, edges);
}

void T3DDrawer::DrawBars(const TQuadPlace& place, float thicknessX, float thicknessY, uint32_t colour, bool soft) {
  const double width = Length(place.AxisX);
  const double height = Length(place.AxisY);
  if ((thicknessX <= 0 && thicknessY <= 0) || width <= 0 || height <= 0) return;
  // Bars at most half the frame thick, so that they never overlap.
  const double across = std::clamp(thicknessX / width, 0.0, 0.5);
  const double down = std::clamp(thicknessY / height, 0.0, 0.5);
  const TVector3 barX = place.AxisX * across;
  const TVector3 barY = place.AxisY * down;
  const TVector3 between = place.AxisY * (1 - 2 * down);
  const TCornerColours colours = {colour, colour, colour, colour};
  const uint8_t s = soft ? 1 : 0;
  // Top and bottom span the whole width; left and right lie between them.
  const bool horizontal = down > 0;
  const bool vertical = across > 0 && down < 0.5;
  if (horizontal) DrawBoxQuad({place.Origin, place.AxisX, barY}, colours, {s, s, s, s});
  if (vertical) DrawBoxQuad({place.Origin + barY, barX, between}, colours, {s, 0, s, 0});
  if (horizontal) DrawBoxQuad({place.Origin + place.AxisY - barY, place.AxisX, barY}, colours, {s, s, s, s});
  if (vertical) DrawBoxQuad({place.Origin + place.AxisX - barX + barY, barX, between}, colours, {s, 0, s, 0});
}

}  // namespace kiv
