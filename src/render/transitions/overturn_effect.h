#pragma once
// The overturn: the slide area turns over like a card, the outgoing slide on its face
// until it stands edge-on, the incoming one after. Types 1 and 2 turn about the
// vertical axis, 3 and 4 about the horizontal one, 1 and 3 one way, 2 and 4 the other.
// The card keeps one edge in the screen plane, or turns about its middle line.
#include "render/transitions/transition_filter.h"

namespace kiv {

class TOverturnEffect : public TTransitionFilter {
 public:
  // smooth: the turn eases in and out; centred: about the middle line; curving: how
  // deep the card goes, in card half-widths.
  TOverturnEffect(int effectClass, int effectType, const TEffectParams& params, const TRect& rect, int softEdge,
                  int32_t duration, bool smooth, bool centred, float curving);

  TEffectPass Pass() const override { return TEffectPass::Overturn; }
  void DrawEffect(T3DDrawer& drawer, TEffectSlide slide) override;

  // The angle the card has turned by at the current time: 0 … π.
  double Angle() const;
  // How bright the card is drawn at the current time: 100 edge-on … 255 face-on.
  int Brightness() const;

 private:
  bool FSmooth;
  bool FCentred;
  float FCurving;
};

}  // namespace kiv
