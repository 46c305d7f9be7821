// Which slide of a change goes through the effect, and in which order.
#include "render/drawer/box_colours.h"
#include "render/drawer/draw_filter.h"
#include "render/drawer/drawer_3d.h"
#include "render/drawer/render_target_effecter.h"
#include "render/screen/screen_3d.h"

namespace kiv {

namespace {

// Custom effects tell the two slides' targets apart by their clear colours.
constexpr uint32_t kFirstSlideClear = 0x0000FF00u;
constexpr uint32_t kSecondSlideClear = 0x000000FFu;

class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : FFlag(flag), FBefore(flag) { FFlag = true; }
  ~TFlagScope() { FFlag = FBefore; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
  bool FBefore;
};

// Moves what is drawn by offset for the scope's lifetime; a slide failing to draw leaves
// the offset as it was.
class TOffsetScope {
 public:
  TOffsetScope(TDeviceDrawer& drawer, TPointF offset) : FDrawer(drawer), FBefore(drawer.Offset()) {
    FDrawer.SetOffset(offset);
  }
  ~TOffsetScope() { FDrawer.SetOffset(FBefore); }
  TOffsetScope(const TOffsetScope&) = delete;
  TOffsetScope& operator=(const TOffsetScope&) = delete;

 private:
  TDeviceDrawer& FDrawer;
  TPointF FBefore;
};

}  // namespace

void T3DDrawer::RenderForEffect(TDrawItem& slide, uint32_t clearColour, bool fillEdges) {
  if (!FEffecter) return;
  TFlagScope forEffect(FDrawingForEffect);
  FEffecter->RenderSlide(clearColour, [&] { Draw(slide); }, fillEdges ? ContentRect() : TRect{});
}

void T3DDrawer::DrawThroughEffect(TDrawItem& first, TDrawItem& second, TEffectSlide which, TDrawFilter& transition) {
  TDrawItem& slide = which == TEffectSlide::Outgoing ? first : second;
  if (!FEffecter) {
    Draw(slide);
    return;
  }
  RenderForEffect(slide, kEffectClearColour, true);
  transition.DrawEffect(*this, which);
}

void T3DDrawer::DrawCustomTransition(TDrawItem& first, TDrawItem& second, TDrawFilter& transition) {
  if (!FEffecter) {
    Draw(first);
    return;
  }
  RenderForEffect(first, kFirstSlideClear);
  FEffecter->Toggle();
  RenderForEffect(second, kSecondSlideClear);
  FEffecter->Toggle();
  FScreen->Clear(FHiderColour, false);
  TFlagScope customEffect(FDrawingCustomEffect);
  transition.DrawEffect(*this, TEffectSlide::Both);
}

void T3DDrawer::DrawEffectBuffer(const TImageDraw& image) {
  TRenderTargetTexture& slide = image.EffectBuffer == 1 ? FEffecter->Current() : FEffecter->Other();
  const TRectF texels = FEffecter->Texels(ContentRect());
  const TQuadPlace place = ToTarget(image.Place);
  const uint32_t colour = ScaleAlpha(0xFFFFFFFFu, image.Params.Opacity);
  const uint8_t soft = image.Params.Smooth ? 1 : 0;
  FScreen->DrawQuad(&slide, place.Origin, place.AxisX, place.AxisY, texels, {colour, colour, colour, colour},
                    {soft, soft, soft, soft});
}

void T3DDrawer::DrawThroughTransition(TDrawItem& first, TDrawItem& second, TDrawFilter& transition,
                                      double progress) {
  const TEffectPass pass = transition.Pass();
  const bool reverse = transition.Reverse();
  const TEffectSlide outgoing = TEffectSlide::Outgoing;
  const TEffectSlide incoming = TEffectSlide::Incoming;
  // The point where the slides change places, counted from the side the effect acts on.
  const bool late = (progress >= 0.5) != reverse;
  switch (pass) {
    case TEffectPass::Custom: DrawCustomTransition(first, second, transition); return;
    case TEffectPass::Overturn: DrawThroughEffect(first, second, late ? incoming : outgoing, transition); return;
    case TEffectPass::TwoSlides:
      DrawThroughEffect(first, second, late ? outgoing : incoming, transition);
      DrawThroughEffect(first, second, late ? incoming : outgoing, transition);
      return;
    default: break;
  }
  if (reverse) {
    Draw(second);
    DrawThroughEffect(first, second, outgoing, transition);
    return;
  }
  if (pass == TEffectPass::Push) {
    TOffsetScope pushed(*this, transition.PushOffset());
    Draw(first);
  } else {
    Draw(first);
  }
  DrawThroughEffect(first, second, incoming, transition);
}

}  // namespace kiv
