#pragma once
// The cross-fade: the incoming slide is drawn over the outgoing one, more opaque as the
// change goes on.
#include "render/transitions/transition_filter.h"

namespace kiv {

class TAlphaFilter : public TTransitionFilter {
 public:
  using TTransitionFilter::TTransitionFilter;

 protected:
  void Draw(TEffectCanvas& canvas) override;
};

}  // namespace kiv
