#pragma once
// A prepared slide as the slide loader hands it to the engine, and the lists it hands
// over (the slides around the current time, at most three).
#include <memory>
#include <vector>

#include "base/errors.h"
#include "base/thread_event_list.h"
#include "engine/hit_result.h"
#include "engine/kiv_mouse.h"
#include "model/slide_info.h"

namespace kiv {

class IKivSlideEntry {
 public:
  virtual ~IKivSlideEntry() = default;
  // Where the slide lies on the show clock, shifted to the round it is played in.
  virtual const TSlideInfo& Timing() const = 0;
  // The object under the pointer at show time (engine thread).
  virtual THitResult HitTest(const TKivMouseRecord& mouse, double time) = 0;
  // Drops what the slide holds on the draw device; it is rebuilt on next use.
  virtual void ReleaseDeviceObjects() = 0;
};

// Entries are shared so that the loader may drop a slide from its cache while the
// engine still draws it.
using TSlideList = std::vector<std::shared_ptr<IKivSlideEntry>>;

inline constexpr size_t kMaxSlideListLength = 3;

struct TSlideData : TMessageData {
  explicit TSlideData(TSlideList slides) : Slides(std::move(slides)) { KIV_ASSERT(Slides.size() <= kMaxSlideListLength); }
  TSlideList Slides;
};

}  // namespace kiv
