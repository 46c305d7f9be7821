#include "engine/container_slide_entry.h"

#include <string>
#include <string_view>

#include "model/action_text.h"
#include "model/custom_effect_slide.h"
#include "model/effect_options.h"
#include "model/prepare_now.h"
#include "model/slide_effect.h"

namespace kiv {

namespace {

struct TKindClass {
  std::u16string_view Kind;
  const char* ClassName;
};

constexpr TKindClass kKindClasses[] = {
    {u"image", "TKivImage"}, {u"mainimage", "TKivImage"}, {u"text", "TKivText"},         {u"textcomment", "TKivText"},
    {u"button", "TKivButton"}, {u"mask", "TKivMask"},     {u"box", "TKivBox"},           {u"frame", "TKivFrame"},
    {u"viewport", "TKivViewPort"}, {u"video", "TKivVideo"}, {u"mainvideo", "TKivVideo"},
};

// The class of the object's kind, as the engine reports the object under the pointer.
std::string ClassNameOf(const TKivObject& object) {
  if (!object.Parent()) return "TKivSlide";
  for (const TKindClass& entry : kKindClasses)
    if (entry.Kind == object.Kind()) return entry.ClassName;
  return "TKivObject";
}

}  // namespace

TContainerSlideEntry::TContainerSlideEntry(std::shared_ptr<const TSlideProducer> producer,
                                           std::shared_ptr<TDrawContainer> container)
    : FProducer(std::move(producer)), FContainer(std::move(container)) {}

void TContainerSlideEntry::LoadResources() {
  std::call_once(FResourcesLoaded, [this] {
    if (TKivSlide* slide = FContainer->Slide()) PrepareNow(*slide);
    PrepareEffectSlide();
  });
}

// Made at the slide area's size, which the drawer gives the transition.
void TContainerSlideEntry::PrepareEffectSlide() {
  const TSlideEffect& effect = FContainer->Transition();
  if (effect.Class != kCustomEffectClass || effect.Duration <= 0) return;
  FEffectFile = ChosenEffectFile(effect.Params.CustomEffect, uint32_t(effect.Params.RandomSeed));
  FEffectSize = SlideArea();
  if (!FEffectFile.empty()) FEffectSlide = FProducer->MakeEffectSlide(FEffectFile, FEffectSize);
  FEffectPrepared = true;
}

std::unique_ptr<IEffectSlide> TContainerSlideEntry::TakeEffectSlide(std::u16string_view file, TPixelSize size) {
  LoadResources();  // also orders this after the loader's preparing
  if (FEffectPrepared && file == FEffectFile && size == FEffectSize) {
    FEffectPrepared = false;
    return std::move(FEffectSlide);
  }
  return FProducer->MakeEffectSlide(file, size);
}

THitResult TContainerSlideEntry::HitTest(const TKivMouseRecord& mouse, double time) {
  TKivSlide* slide = FContainer->Slide();
  if (!slide) return {};
  FContainer->AdvanceContainer(time);
  // The camera looks at the slide area; the pointer is measured from the output's corner.
  const TRect area = FProducer->SlideAreaRect();
  const TKivObject* found = slide->FindAt(float(mouse.X - area.Left), float(mouse.Y - area.Top),
                                          [](const TKivObject& object) { return !object.TranspForClick(); });
  if (!found) return {};
  const TKivSource& source = FProducer->Source();
  TKivActionInfo action = ResolveSlideName(ParseActionText(found->Action()), [&source](std::u16string_view name) {
    return SlideIndexByName(source.Slides(), name);
  });
  return {THitKind::Object, std::move(action), ClassNameOf(*found)};
}

}  // namespace kiv
