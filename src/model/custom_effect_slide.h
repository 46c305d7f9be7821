#pragma once
// A show's own transition: the first slide of a small project among the show's files,
// played as an animation over the slide area while the slides change. Its pictures
// marked as effect buffers ("ReplaceWithEffectBuffer" 1 and 2) take the slide area's
// size and show the outgoing and the incoming slide when the drawer plays the effect.
#include <functional>
#include <memory>
#include <string_view>

#include "base/rect.h"
#include "model/kiv_slide.h"
#include "model/kiv_source.h"
#include "model/object_factory.h"
#include "model/slide_producer.h"
#include "render/drawer/effect_slide.h"

namespace kiv {

class TFileAccessor;

class TCustomEffectSlide : public IEffectSlide {
 public:
  // The effect slide of file among files for a slide area of size, its objects made by
  // kinds on a host that prepareHost sets up; none when the file is missing, is not a
  // project with a first slide, or its slide cannot be built. "CoverMode" of that slide
  // says how it fits the area: 0 whole, 1 covering, 2 stretched.
  static std::unique_ptr<TCustomEffectSlide> Make(TFileAccessor& files, std::u16string_view file, TPixelSize size,
                                                  TObjectFactoryChain kinds,
                                                  const std::function<void(TKivSlideHost&)>& prepareHost);
  ~TCustomEffectSlide() override;

  TDrawItem& Item() override { return *FSlide; }
  // progress 0 … 1 is the slide's own timeline from its start to its end.
  void SetProgress(double progress) override;

 private:
  TCustomEffectSlide() = default;

  std::unique_ptr<TKivSource> FSource;
  std::unique_ptr<TSlideProducer> FProducer;
  std::unique_ptr<TKivSlide> FSlide;
  double FStart = 0;
  double FEnd = 0;
};

}  // namespace kiv
