#pragma once
// A prepared slide of the slide cache as the engine sees it: its place on the show
// clock and what lies under the pointer. The entry keeps the container and the producer
// that made it alive for as long as the engine holds it.
#include <memory>

#include "engine/slide_entry.h"
#include "model/draw_container.h"
#include "model/slide_producer.h"

namespace kiv {

class TContainerSlideEntry : public IKivSlideEntry {
 public:
  TContainerSlideEntry(std::shared_ptr<const TSlideProducer> producer, std::shared_ptr<TDrawContainer> container);

  TDrawContainer& Container() const { return *FContainer; }

  const TSlideInfo& Timing() const override { return FContainer->Timing(); }
  // The topmost object under the pointer that lets clicks reach it, with its action
  // (a slide named by a go-to-slide action resolved against the show). The pointer is
  // in output pixels.
  THitResult HitTest(const TKivMouseRecord& mouse, double time) override;
  // The slide's objects hold nothing on the draw device yet.
  void ReleaseDeviceObjects() override {}

 private:
  std::shared_ptr<const TSlideProducer> FProducer;
  std::shared_ptr<TDrawContainer> FContainer;
};

}  // namespace kiv
