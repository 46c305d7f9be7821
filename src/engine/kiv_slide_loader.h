#pragma once
// The slide loader thread: keeps the slide cache filled around the shared show time,
// preloads each new slide through the engine and sends the cached slides to the
// engine's queue whenever the cache changes, waiting until the engine took them.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "base/kiv_thread.h"
#include "engine/container_slide_entry.h"
#include "engine/slide_loader.h"
#include "model/object_factory.h"
#include "model/slide_area.h"
#include "model/slide_cache.h"
#include "model/slide_producer.h"

namespace kiv {

class TKivSlideLoader : public TKivThread, public IKivSlideLoader {
 public:
  // kinds make the slides' objects; prepareHost (may be empty) installs the picture
  // providers on the slides' host. Fails with "ZeroSize of Presentation!" as the
  // producer does.
  TKivSlideLoader(const TSlideLoaderParams& params, TObjectFactoryChain kinds,
                  const std::function<void(TKivSlideHost&)>& prepareHost);
  ~TKivSlideLoader() override;

  void Start() override { TKivThread::Start(); }
  bool IsRunning() const override { return TKivThread::IsRunning(); }
  void Terminate() override { TKivThread::Terminate(); }
  void Stop() override { TKivThread::Stop(); }

  TPixelSize Size() const override { return FSize.load(); }
  void SetSize(TPixelSize size) override;
  int WindowMode() const override { return FWindowMode; }
  void SetCover(bool cover) override;
  int CachedCount() const override { return FCachedCount.load(); }

 protected:
  void Iteration() override;

 private:
  void ApplyOutput();
  void SendSlideList();
  std::shared_ptr<TContainerSlideEntry> EntryOf(const TDrawContainer& container) const;

  TSlideLoaderParams FParams;
  bool FHasSlides;
  int FWindowMode = 0;
  std::atomic<TPixelSize> FSize;
  TSlideFit FFit = TSlideFit::Inside;

  // The engine may resize the output while the thread builds slides.
  std::mutex FProducerLock;
  std::shared_ptr<TSlideProducer> FProducer;
  TSlideCache FCache;
  std::atomic<int> FCachedCount{0};

  // Thread side: one entry per cached container, the new ones waiting for their preload.
  std::vector<std::shared_ptr<TContainerSlideEntry>> FEntries;
  std::vector<std::shared_ptr<TContainerSlideEntry>> FNewEntries;
  bool FListChanged = false;
};

// The loader the engine is given for each open.
std::unique_ptr<IKivSlideLoader> MakeKivSlideLoader(const TSlideLoaderParams& params, TObjectFactoryChain kinds,
                                                    std::function<void(TKivSlideHost&)> prepareHost);

}  // namespace kiv
