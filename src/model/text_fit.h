#pragma once
// How a text goes into a box on a slide: scaled so that its lines fit the box (never
// stretched), placed by its alignment from left to right and centred from top to bottom.
// Texts and button captions are fitted alike.
#include <optional>

#include "graphics/text_params.h"
#include "model/object_placement.h"
#include "render/drawer/device_drawer.h"

namespace kiv {

class TTextProducer;

// The text's size at a scale of one pixel per outline unit; none when it cannot be
// measured (no font, no lines).
std::optional<TSizeF> UnitTextSize(TTextProducer& producer, const TTextParams& params);

struct TTextFit {
  TTextParams Params;  // with the scale that fits
  // Where the rendered picture lies, in pixels of the box: the picture holds the text's
  // ink beyond its lines and a pixel of margin all round.
  double Left = 0, Top = 0, Width = 0, Height = 0;
};

// params (its size ignored) fitted into box and moved by (shiftX, shiftY) box pixels;
// none for a box under one pixel either way or a text that cannot be measured.
std::optional<TTextFit> FitText(TTextProducer& producer, TTextParams params, TSizeF box, double shiftX = 0,
                                double shiftY = 0);

// The part of whole (a quad of boxSize pixels) that fit's picture covers.
TQuadPlace FittedQuad(const TQuadPlace& whole, TSizeF boxSize, const TTextFit& fit);

}  // namespace kiv
