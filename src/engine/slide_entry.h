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
  // A pointer event at show time (engine thread): the slide's objects take their looks
  // and pressed states, and the object under the pointer is answered. Not enabled: the
  // slide is off screen or covered where the pointer is; it only drops its looks.
  virtual THitResult Pointer(const TKivMouseRecord& mouse, double time, bool enabled) = 0;
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
