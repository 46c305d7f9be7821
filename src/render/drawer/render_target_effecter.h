#pragma once
// Renders whole slides into textures for the transitions: two render targets the size of
// the effect rectangle rounded up to powers of two, one per slide, and a toggle that says
// which one is current.
#include <array>
#include <functional>
#include <memory>

#include "base/rect.h"
#include "render/device/geometry_3d.h"
#include "render/drawer/render_target.h"

namespace kiv {

// The clear colour of a slide rendered for an effect: grey without alpha.
inline constexpr uint32_t kEffectClearColour = 0x00808080;

class TRenderTargetEffecter {
 public:
  explicit TRenderTargetEffecter(T3DScreen& screen);

  // Makes the targets for rect (again when it changed).
  void SetRect(const TRect& rect);
  const TRect& Rect() const { return FRect; }
  // Draws with draw into the current target, standing at the rectangle's top-left and
  // cleared to clearColour first. Given the slide area (within the rectangle), the lines
  // of pixels around it are then filled with copies of its edge pixels, so that a
  // transition filtering the slide at its edge does not pull in the clear colour.
  // Assertion "Effecter not Inited" without targets.
  void RenderSlide(uint32_t clearColour, const std::function<void()>& draw, const TRect& slideArea = {});
  // Target 0 or 1 (assertion otherwise).
  TRenderTargetTexture& SlideTexture(int index);
  TRenderTargetTexture& Current() { return SlideTexture(FCurrent); }
  TRenderTargetTexture& Other() { return SlideTexture(1 - FCurrent); }
  void Toggle() { FCurrent = 1 - FCurrent; }
  // Where area of the frame lies in the slide textures, in their pixels: slides are
  // drawn into them as they lie on the frame, from the rectangle's top-left.
  TRectF Texels(const TRect& area) const;

 private:
  // The lines of pixels around area (in target pixels) as copies of its edge lines.
  void FillAround(const TRect& area);
  // Copies a line of pixels of the current target from source to dest through strip.
  void CopyLine(TRenderTargetTexture& strip, const TRect& source, const TRect& dest);

  T3DScreen& FScreen;
  TRect FRect;
  std::array<std::unique_ptr<TRenderTargetTexture>, 2> FTargets;
  // A target cannot be copied onto itself: its lines go through these, one column and
  // one row long enough for the rectangle.
  std::unique_ptr<TRenderTargetTexture> FColumnStrip;
  std::unique_ptr<TRenderTargetTexture> FRowStrip;
  int FCurrent = 0;
};

}  // namespace kiv
