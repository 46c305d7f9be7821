#include "model/slide_producer.h"

#include <algorithm>
#include <exception>
#include <string>

#include "base/errors.h"
#include "base/log.h"
#include "base/text.h"
#include "model/custom_effect_slide.h"
#include "model/slide_order.h"
#include "model/video_clips.h"

namespace kiv {

namespace {

// Runs build; a failure is logged and gives nothing, so that one broken slide never
// stops the show.
template <typename T, typename TBuild>
std::unique_ptr<T> BuiltOrNone(const std::string& what, TBuild build) {
  try {
    return build();
  } catch (const std::exception& error) {
    Log().Write("TSlideProducer: " + what + " not built: " + error.what());
    return nullptr;
  }
}

}  // namespace

TSlideProducer::TSlideProducer(TKivSource& source, TObjectFactoryChain kinds,
                               const std::function<void(TKivSlideHost&)>& prepareHost)
    : FSource(source),
      FKinds(kinds),
      FPrepareHost(prepareHost),
      FHost(std::make_unique<TKivSlideHost>(source.Container(), std::move(kinds))),
      FDesign(ReadShowDesign(source.MainSection())),
      FVisibleFinder(source) {
  FHost->SetButtonPath(source.MainSection().ReadString(u"PathToButtons", u""));
  FHost->SetCameraQuery([this] { return Camera(); });
  FHost->SetSlidesCount(source.MainSection().ReadInteger(u"opt_slidescount", 0));
  std::vector<const TIniIdentList*> sections;
  for (int i = 0; i < source.SlideCount(); ++i) sections.push_back(SlideSection(source.Document(), i));
  FHost->Videos().ReadClips(source.MainSection(), sections, source.Slides());
  if (prepareHost) prepareHost(*FHost);
}

void TSlideProducer::SetOutput(TPixelSize output, TSlideFit fit, double widthPercent, double heightPercent) {
  const double ratio = ShowAspectRatio(FDesign, output);
  FOutput = output;
  FWidthPercent = UsablePercent(widthPercent);
  FHeightPercent = UsablePercent(heightPercent);
  FArea = SlideAreaSize({output, fit, FWidthPercent, FHeightPercent, ratio, FDesign.Size, FDesign.FullFixedSize});
}

TRect TSlideProducer::SlideAreaRect() const {
  const int32_t left = FOutput.Width / 2 - FArea.Width / 2;
  const int32_t top = FOutput.Height / 2 - FArea.Height / 2;
  return {left, top, left + FArea.Width, top + FArea.Height};
}

TRect TSlideProducer::VisibleRect() const {
  return Intersection(SlideAreaRect(), {0, 0, FOutput.Width, FOutput.Height});
}

TVector3 TSlideProducer::Camera() const {
  return {FArea.Width / 2.0f, FArea.Height / 2.0f, -float(FArea.Height)};
}

int TSlideProducer::SlideOfIndex(int index) const {
  if (FSource.SlideCount() <= 0) KIV_FAIL("No Slides in Presentation");
  return index % FSource.SlideCount();
}

void TSlideProducer::PlaceSlide(TKivSlide& slide) const {
  slide.SetSize({float(FArea.Width * 100 / FWidthPercent), float(FArea.Height * 100 / FHeightPercent)});
  slide.SetCentre(FArea.Width / 2.0f, FArea.Height / 2.0f);
}

std::unique_ptr<TKivSlide> TSlideProducer::MakeSlide(int index) {
  const bool leadIn = index < 0;
  const int slide = leadIn ? -1 : SlideOfIndex(index);
  // The lead-in takes its background as the first slide does.
  const TIniSection* section = SlideSection(FSource.Document(), leadIn ? 0 : slide);
  if (!section && !leadIn) {
    Log().WriteValue("TSlideProducer: no section for slide ", int64_t(slide));
    return nullptr;
  }
  return BuiltOrNone<TKivSlide>("slide " + std::to_string(index), [&] {
    auto tree = std::make_unique<TKivSlide>(*FHost);
    PlaceSlide(*tree);
    tree->ReadBackground(FSource.MainSection(), section);
    tree->SetTiming(FSource.SlideTiming(slide).Info);
    tree->SetShowPosition(slide);
    if (!leadIn) tree->ReadChildren(*section);
    return tree;
  });
}

std::unique_ptr<TKivDialog> TSlideProducer::MakeDialog(std::u16string_view name) {
  const TIniSection* section = FSource.Document().FindSection(DialogSectionName(FSource.MainSection(), name));
  if (!section) return nullptr;
  return BuiltOrNone<TKivDialog>("dialog " + Utf16ToUtf8(name), [&] {
    auto dialog = std::make_unique<TKivDialog>(*FHost, std::u16string(name), section->ReadBool(u"DialogPause", false));
    PlaceSlide(*dialog);
    dialog->ReadChildren(*section);
    dialog->Advance(true, 0);
    return dialog;
  });
}

std::unique_ptr<TCustomEffectSlide> TSlideProducer::MakeEffectSlide(std::u16string_view file, TPixelSize size) const {
  if (!FSource.Container()) return nullptr;
  return TCustomEffectSlide::Make(*FSource.Container(), file, size, FKinds, FPrepareHost);
}

std::unique_ptr<TDrawContainer> TSlideProducer::MakeContainer(int index) {
  if (!FCurrentTime) KIV_FAIL("TSlideProducer.CurrentTiming not Assigned");
  const int slide = index < 0 ? index : SlideOfIndex(index);
  const TSlideTiming timing = FSource.SlideTiming(index);
  Log().WriteValue("..................................... ", int64_t(index));
  auto container = std::make_unique<TDrawContainer>(index, timing, std::max(timing.LoopCount, 0) * FSource.Duration(),
                                                    MakeSlide(slide), FSource.SlideChange(index));
  container->AdvanceContainer(FCurrentTime());
  return container;
}

}  // namespace kiv
