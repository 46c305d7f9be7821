#include "model/draw_container.h"

namespace kiv {

TDrawContainer::TDrawContainer(int index, TSlideTiming timing, double loopOffset, std::unique_ptr<TKivSlide> slide,
                               TSlideEffect transition)
    : FIndex(index),
      FTiming(std::move(timing.Info)),
      FLoopCount(timing.LoopCount),
      FLoopOffset(loopOffset),
      FSlide(std::move(slide)),
      FTransition(std::move(transition)) {}

void TDrawContainer::AdvanceContainer(double time) {
  if (FSlide) FSlide->Advance(true, time - FLoopOffset);
  FTransitionElapsed = time - FTiming.StartTime;
}

}  // namespace kiv
