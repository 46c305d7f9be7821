#pragma once
// Between the show source and the drawer: decides how large the slide area is in the
// output, builds slide trees, dialog slides and draw containers on demand, and tells
// the slides' host where the camera is. Used from one thread at a time.
#include <functional>
#include <memory>
#include <string_view>

#include "base/rect.h"
#include "base/vector3.h"
#include "model/draw_container.h"
#include "model/kiv_dialog.h"
#include "model/kiv_slide.h"
#include "model/kiv_source.h"
#include "model/object_factory.h"
#include "model/slide_area.h"
#include "model/slide_host.h"
#include "model/visible_slides.h"

namespace kiv {

class TCustomEffectSlide;

// Reads the show time now (the engine moves it).
using TCurrentTime = std::function<double()>;

class TSlideProducer {
 public:
  // source is kept, not owned. kinds make the slides' objects; prepareHost (may be
  // empty) installs the picture providers on the host made here.
  TSlideProducer(TKivSource& source, TObjectFactoryChain kinds, const std::function<void(TKivSlideHost&)>& prepareHost);
  TSlideProducer(const TSlideProducer&) = delete;
  TSlideProducer& operator=(const TSlideProducer&) = delete;

  TKivSource& Source() const { return FSource; }
  TKivSlideHost& Host() const { return *FHost; }

  // The output the show is drawn into and the share of it the show may use (a share
  // that is not positive counts as 100 %). Fails with "ZeroSize of Presentation!" when
  // a current project gives no design height.
  void SetOutput(TPixelSize output, TSlideFit fit, double widthPercent, double heightPercent);
  TPixelSize Output() const { return FOutput; }
  TPixelSize SlideArea() const { return FArea; }
  // The slide area centred on the output's centre; with TSlideFit::Cover it reaches
  // past the output.
  TRect SlideAreaRect() const;
  // The part of the slide area inside the output; empty when they do not meet.
  TRect VisibleRect() const;
  // Where the slides are seen from, in slide-area pixels: centred, one area height in
  // front of the screen.
  TVector3 Camera() const;

  // Containers are advanced to this time when made; required before MakeContainer.
  void SetCurrentTiming(TCurrentTime timing) { FCurrentTime = std::move(timing); }

  // The slide tree shown at index (taken modulo the slide count), or the lead-in slide
  // before the show for a negative index. None when the slide has no section or
  // building it fails. A show without slides fails with "No Slides in Presentation"
  // for an index >= 0.
  std::unique_ptr<TKivSlide> MakeSlide(int index);
  // The dialog slide of name: the section "dialog_" + i + "_" when "custom_dialog" + i
  // of "main" names it, else "dialog_" + name. None without that section.
  std::unique_ptr<TKivDialog> MakeDialog(std::u16string_view name);
  // The prepared slide at index (counting on through later rounds; negative: the
  // lead-in), advanced to the current time.
  std::unique_ptr<TDrawContainer> MakeContainer(int index);
  // The effect slide of a show's own transition file for a slide area of size, made
  // with this producer's kinds and pictures; none when it cannot be made. Any thread.
  std::unique_ptr<TCustomEffectSlide> MakeEffectSlide(std::u16string_view file, TPixelSize size) const;

  // The slides on screen at time: both while a transition runs.
  TVisibleSlides VisibleSlides(double time) { return FVisibleFinder.VisibleSlides(time); }

 private:
  // The slide index within the first round; fails for a show without slides.
  int SlideOfIndex(int index) const;
  // Size and pivot from the slide area.
  void PlaceSlide(TKivSlide& slide) const;

  TKivSource& FSource;
  const TObjectFactoryChain FKinds;
  const std::function<void(TKivSlideHost&)> FPrepareHost;
  std::unique_ptr<TKivSlideHost> FHost;
  TShowDesign FDesign;
  TPixelSize FOutput;
  double FWidthPercent = 100;
  double FHeightPercent = 100;
  TPixelSize FArea;
  TCurrentTime FCurrentTime;
  TVisibleSlideFinder FVisibleFinder;
};

}  // namespace kiv
