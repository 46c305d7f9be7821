#pragma once
// Turns a slide change's class, type and parameters into its transition object.
#include <memory>

#include "render/drawer/effect_params.h"
#include "render/drawer/kiv_filter.h"

namespace kiv {

// The transition for the slide area rect; none for class 0 or below. Classes and
// types: 1 mosaic; 2 cross-fade; 3 clock (type 2 turning the other way); 4 circle,
// 5 rhomb, 6 square (type 1 closing, 2 opening); 7 strips from the middle (types
// 1, 2 across, 3, 4 down; 1 and 3 closing); 8 diagonal bands from the middle (3, 4
// mirrored; 1 and 3 closing); 9 wipes from an edge (1 left, 2 right, 3 top, 4 bottom);
// 10 diagonal wipes from a corner; 11 the broom (1 … 8 from the edges and corners,
// 9 … 16 the same in reverse); 12 push and 13 slide in (1 from the left, 2 from the
// right, 3 from the top, 4 from the bottom); 14 and 15 the page roll from an edge or a
// corner (5 … 8 rolling the outgoing slide up); 16 the overturn (1, 2 about the vertical
// axis, 3, 4 about the horizontal one); 17 two slides (1 right, 2 left, 3 down, 4 up).
// Types a class does not have (0 and below included), and every other class, cross-fade;
// the mosaic and the cross-fade take any type.
std::unique_ptr<TDrawFilter> CreateTransition(const TRect& rect, int effectClass, int effectType,
                                              const TEffectParams& params, int32_t duration);
// The same for a slide change, which for a show's own transition (class 18) also
// finds the effect slide; a missing or unreadable effect file cross-fades.
std::unique_ptr<TDrawFilter> CreateTransition(const TKivFilter& filter, const TRect& rect);

// The factory the drawer asks for the transition of each slide change.
TTransitionFactory StandardTransitions();

}  // namespace kiv
