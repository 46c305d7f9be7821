#pragma once
// The slide loader as the engine drives it: a thread that keeps a small cache of
// prepared slides filled around the shared show time and sends the cached slides to the
// engine's queue (kSlideListRequest with a TSlideData, waiting until the engine took
// them) whenever the cache changes.
#include <functional>
#include <memory>

#include "base/thread_event_list.h"
#include "base/rect.h"
#include "engine/show_timing.h"
#include "engine/slide_entry.h"

namespace kiv {

class TKivSource;

class IKivSlideLoader {
 public:
  virtual ~IKivSlideLoader() = default;
  virtual void Start() = 0;
  virtual bool IsRunning() const = 0;
  // Asks the thread to end without waiting.
  virtual void Terminate() = 0;
  // Terminates and waits for the thread.
  virtual void Stop() = 0;

  // The size the show renders at. Before the engine sets it: the size the show asks
  // its window for.
  virtual TPixelSize Size() const = 0;
  virtual void SetSize(TPixelSize size) = 0;
  // The window the show asks for: 0 full screen, 1 with border, 2 without border.
  virtual int WindowMode() const = 0;
  // Slides grow to cover the render area instead of fitting inside it.
  virtual void SetCover(bool cover) = 0;
  // How many slides the cache holds now (any thread).
  virtual int CachedCount() const = 0;
};

struct TSlideLoaderParams {
  TKivSource* Source = nullptr;  // not owned; lives longer than the loader
  int CacheSize = 3;
  std::shared_ptr<TShowTiming> Timing;
  TThreadEventList* EngineQueue = nullptr;
  // Called (on the loader's thread) with each newly prepared slide.
  std::function<void(IKivSlideEntry& slide)> Preload;
};

using TSlideLoaderFactory = std::function<std::unique_ptr<IKivSlideLoader>(const TSlideLoaderParams&)>;

}  // namespace kiv
