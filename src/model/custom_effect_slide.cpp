#include "model/custom_effect_slide.h"

#include <algorithm>
#include <exception>
#include <string>

#include "base/log.h"
#include "base/text.h"
#include "container/file_accessor.h"
#include "graphics/bitmap_store.h"
#include "ini/ini_file.h"
#include "model/prepare_now.h"
#include "model/slide_order.h"

namespace kiv {

namespace {

constexpr std::u16string_view kEffectBufferPrefix = u"SlideEffectBuffer";

// The project in file, or none.
std::unique_ptr<TIniFile> ReadProject(TFileAccessor& files, std::u16string_view file) {
  const std::unique_ptr<TStream> stream = files.OpenStream(file);
  if (!stream) return nullptr;
  auto project = std::make_unique<TIniFile>();
  try {
    if (!project->LoadFromStream(*stream)) return nullptr;
  } catch (const std::exception&) {
    return nullptr;
  }
  return project;
}

}  // namespace

TCustomEffectSlide::~TCustomEffectSlide() {
  // The slide's objects refer to the producer's host.
  FSlide.reset();
}

std::unique_ptr<TCustomEffectSlide> TCustomEffectSlide::Make(TFileAccessor& files, std::u16string_view file,
                                                             TPixelSize size, TObjectFactoryChain kinds,
                                                             const std::function<void(TKivSlideHost&)>& prepareHost) {
  std::unique_ptr<TIniFile> project = ReadProject(files, file);
  if (!project || size.Width <= 0 || size.Height <= 0) return nullptr;
  std::unique_ptr<TCustomEffectSlide> effect(new TCustomEffectSlide);
  try {
    effect->FSource = std::make_unique<TKivSource>(&files, project.release(), true, u"");
    if (effect->FSource->SlideCount() <= 0) return nullptr;
    // The effect buffers are as large as the slide area; what they show comes from the
    // drawer, so their own pixels stay clear.
    const auto buffers = [size](std::u16string_view name) -> std::shared_ptr<TBitmapStore> {
      if (!name.starts_with(kEffectBufferPrefix)) return nullptr;
      auto clear = std::make_unique<TBitmap>(size.Width, size.Height, TPixelFormat::Bgra32);
      return std::make_shared<TWrapperBitmapStore>(std::move(clear));
    };
    effect->FProducer = std::make_unique<TSlideProducer>(*effect->FSource, std::move(kinds), [&](TKivSlideHost& host) {
      if (prepareHost) prepareHost(host);
      host.AddPictureProvider(buffers);
    });
    const TIniSection* first = SlideSection(effect->FSource->Document(), 0);
    const int32_t cover = first ? first->ReadInteger(u"CoverMode", 0) : 0;
    effect->FProducer->SetOutput(size, TSlideFit(std::clamp(cover, 0, 2)), 100, 100);
    effect->FSlide = effect->FProducer->MakeSlide(0);
  } catch (const std::exception& error) {
    Log().Write("Slide effect " + Utf16ToUtf8(file) + " not made: " + error.what());
    return nullptr;
  }
  if (!effect->FSlide) return nullptr;
  const TSlideInfo& timing = effect->FSource->Slides().front();
  effect->FStart = timing.StartTime;
  effect->FEnd = std::max(timing.EndTime, timing.StartTime);
  PrepareNow(*effect->FSlide);
  effect->SetProgress(0);
  return effect;
}

void TCustomEffectSlide::SetProgress(double progress) {
  const double time = FStart + (FEnd - FStart) * std::clamp(progress, 0.0, 1.0);
  Log().WriteValue("set slide eff. time: ", int64_t(time));
  FSlide->Advance(true, time);
}

}  // namespace kiv
