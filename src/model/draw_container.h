#pragma once
// One prepared slide as the drawer takes it: the slide's object tree, where the slide
// lies on the show clock in the round it is played in, and the transition into it.
#include <memory>

#include "model/kiv_slide.h"
#include "model/slide_effect.h"
#include "model/slide_info.h"

namespace kiv {

class TDrawContainer {
 public:
  // index: the position in the show, counting on through later rounds. timing: the
  // slide's record shifted to that round (LoopCount rounds before it). slide may be none
  // when the slide could not be built; its own times are those of the first round.
  TDrawContainer(int index, TSlideTiming timing, double loopOffset, std::unique_ptr<TKivSlide> slide,
                 TSlideEffect transition);

  int Index() const { return FIndex; }
  const TSlideInfo& Timing() const { return FTiming; }
  int LoopCount() const { return FLoopCount; }
  // Show time the round starts at: LoopCount × the show's duration.
  double LoopOffset() const { return FLoopOffset; }
  TKivSlide* Slide() const { return FSlide.get(); }
  const TSlideEffect& Transition() const { return FTransition; }
  // How far the transition into the slide has run at the time last advanced to (ms;
  // negative before the slide starts).
  double TransitionElapsed() const { return FTransitionElapsed; }

  // Brings the slide to show time (its tree lives in the first round, so the round's
  // offset is taken off) and the transition with it.
  void AdvanceContainer(double time);

 private:
  int FIndex;
  TSlideInfo FTiming;
  int FLoopCount;
  double FLoopOffset;
  std::unique_ptr<TKivSlide> FSlide;
  TSlideEffect FTransition;
  double FTransitionElapsed = 0;
};

}  // namespace kiv
