#include "render/transitions/fade_filter.h"

namespace kiv {

void TFadeFilter::Draw(TEffectCanvas& canvas) { canvas.WholeSlide({}, float(255 * Progress())); }

}  // namespace kiv
