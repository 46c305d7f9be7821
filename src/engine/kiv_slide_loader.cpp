#include "engine/kiv_slide_loader.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "base/log.h"
#include "engine/engine_messages.h"

namespace kiv {

namespace {

constexpr std::chrono::milliseconds kPollInterval{10};

// The window the show asks for: 0 full screen ("opt_scr_full" 1), else 1 with border
// and 2 without ("opt_withoutborder").
int ReadWindowMode(const TIniIdentList& main) {
  if (main.ReadInteger(u"opt_scr_full", 1) == 1) return 0;
  return main.ReadBool(u"opt_withoutborder", true) ? 2 : 1;
}

}  // namespace

TKivSlideLoader::TKivSlideLoader(const TSlideLoaderParams& params, TObjectFactoryChain kinds,
                                 const std::function<void(TKivSlideHost&)>& prepareHost)
    : FParams(params),
      FHasSlides(params.Source->SlideCount() > 0),
      FWindowMode(ReadWindowMode(params.Source->MainSection())),
      FProducer(std::make_shared<TSlideProducer>(*params.Source, std::move(kinds), prepareHost)),
      FCache(*FProducer, params.CacheSize) {
  // Until the engine knows its device, the show renders at its design size.
  const TPixelSize design = ReadShowDesign(params.Source->MainSection()).Size;
  FSize = TPixelSize{design.Width, design.Height};
  ApplyOutput();
  FProducer->SetCurrentTiming([timing = params.Timing] { return timing->Current(); });
  FCache.SetAddedHook([this](const std::shared_ptr<TDrawContainer>& container) {
    FNewEntries.push_back(std::make_shared<TContainerSlideEntry>(FProducer, container));
  });
  FCache.SetChangeHook([this] {
    FListChanged = true;
    FCachedCount = int(FCache.Containers().size());
  });
  if (!FHasSlides) Log().Write("TKivSlideLoader: No Slides in Presentation");
}

TKivSlideLoader::~TKivSlideLoader() { TKivThread::Stop(); }

void TKivSlideLoader::ApplyOutput() {
  const TPixelSize size = FSize.load();
  FProducer->SetOutput({size.Width, size.Height}, FFit, 100, 100);
}

void TKivSlideLoader::SetSize(TPixelSize size) {
  std::lock_guard lock(FProducerLock);
  FSize = size;
  ApplyOutput();
}

void TKivSlideLoader::SetCover(bool cover) {
  std::lock_guard lock(FProducerLock);
  FFit = cover ? TSlideFit::Cover : TSlideFit::Inside;
  ApplyOutput();
}

void TKivSlideLoader::Iteration() {
  if (FHasSlides) {
    {
      std::lock_guard lock(FProducerLock);
      FCache.Update(FParams.Timing->Current());
    }
    // Preloading goes through the engine's drawer: never under the producer's lock.
    for (std::shared_ptr<TContainerSlideEntry>& entry : FNewEntries) {
      if (FParams.Preload) FParams.Preload(*entry);
      FEntries.push_back(std::move(entry));
    }
    FNewEntries.clear();
    if (FListChanged) SendSlideList();
  }
  // The poll pace is no show time: a sleep on the process clock would move a virtual
  // clock, and with it the show, whenever the loader looks for work.
  std::this_thread::sleep_for(kPollInterval);
}

std::shared_ptr<TContainerSlideEntry> TKivSlideLoader::EntryOf(const TDrawContainer& container) const {
  const auto found = std::find_if(FEntries.begin(), FEntries.end(),
                                  [&container](const auto& entry) { return &entry->Container() == &container; });
  return found == FEntries.end() ? nullptr : *found;
}

// The engine keeps its own references to the entries, so the cache may drop a slide the
// engine still draws. Until the engine took the list the loader waits; when its queue
// is closed the list is sent again on the next turn.
void TKivSlideLoader::SendSlideList() {
  std::vector<std::shared_ptr<TContainerSlideEntry>> entries;
  TSlideList list;
  for (const std::shared_ptr<TDrawContainer>& container : FCache.Containers()) {
    entries.push_back(EntryOf(*container));
    list.push_back(entries.back());
  }
  FEntries = std::move(entries);
  TSlideData data(std::move(list));
  if (FParams.EngineQueue->Send(kSlideListRequest, &data)) FListChanged = false;
}

std::unique_ptr<IKivSlideLoader> MakeKivSlideLoader(const TSlideLoaderParams& params, TObjectFactoryChain kinds,
                                                    std::function<void(TKivSlideHost&)> prepareHost) {
  return std::make_unique<TKivSlideLoader>(params, std::move(kinds), prepareHost);
}

}  // namespace kiv
