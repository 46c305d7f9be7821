#pragma once
// A prepared slide of the slide cache as the engine sees it: its place on the show
// clock and what lies under the pointer. The entry keeps the container and the producer
// that made it alive for as long as the engine holds it.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "engine/slide_entry.h"
#include "model/draw_container.h"
#include "model/slide_producer.h"
#include "render/drawer/effect_slide.h"

namespace kiv {

class TContainerSlideEntry : public IKivSlideEntry {
 public:
  TContainerSlideEntry(std::shared_ptr<const TSlideProducer> producer, std::shared_ptr<TDrawContainer> container);

  TDrawContainer& Container() const { return *FContainer; }
  const std::shared_ptr<const TSlideProducer>& Producer() const { return FProducer; }
  // The size of the slide area in the output the slide was made for.
  TPixelSize SlideArea() const { return FProducer->SlideArea(); }
  // The slide area's place in the output.
  TRect SlideAreaRect() const { return FProducer->SlideAreaRect(); }
  // Loads what the slide's objects show (pictures, fonts …) the first time it is
  // called, and makes the effect slide of a show's own transition into the slide, so
  // that the change begins without reading files; any thread. A failing object shows
  // nothing, the others load.
  void LoadResources();
  // The effect slide of the show's own transition into the slide, from file for a slide
  // area of size: the one LoadResources made for them (once), else one made now. None
  // when it cannot be made.
  std::unique_ptr<IEffectSlide> TakeEffectSlide(std::u16string_view file, TPixelSize size);

  const TSlideInfo& Timing() const override { return FContainer->Timing(); }
  // The pointer over the slide's objects (see PointerOnSlide): the topmost object under
  // the pointer that lets clicks reach it, with its action (a slide named by a
  // go-to-slide action resolved against the show). The pointer is in output pixels; a
  // double click presses like a single one.
  THitResult Pointer(const TKivMouseRecord& mouse, double time, bool enabled) override;
  // Nothing to do: the textures the drawer keeps for the slide's pictures are rebuilt
  // by the drawer itself after a device change, and handed back to it by the drawing
  // controller when the slide leaves the screen.
  void ReleaseDeviceObjects() override {}

 private:
  void PrepareEffectSlide();

  std::shared_ptr<const TSlideProducer> FProducer;
  std::shared_ptr<TDrawContainer> FContainer;
  std::once_flag FResourcesLoaded;
  // What LoadResources made for the transition into the slide, until it is taken.
  bool FEffectPrepared = false;
  std::u16string FEffectFile;
  TPixelSize FEffectSize;
  std::unique_ptr<IEffectSlide> FEffectSlide;
};

}  // namespace kiv
