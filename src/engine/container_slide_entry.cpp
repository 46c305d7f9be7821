#include "engine/container_slide_entry.h"

#include <string>
#include <string_view>

#include "model/action_text.h"
#include "model/custom_effect_slide.h"
#include "model/effect_options.h"
#include "model/prepare_now.h"
#include "model/slide_pointer.h"
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

THitResult TContainerSlideEntry::Pointer(const TKivMouseRecord& mouse, double time, bool enabled) {
  TKivSlide* slide = FContainer->Slide();
  if (!slide) return {};
  if (enabled) FContainer->AdvanceContainer(time);
  // The camera looks at the slide area; the pointer is measured from the output's corner.
  const TRect area = FProducer->SlideAreaRect();
  TSlidePointer pointer;
  pointer.Kind = mouse.Event == TMouseEvent::Move      ? TPointerKind::Move
                 : mouse.Event == TMouseEvent::Release ? TPointerKind::Release
                                                       : TPointerKind::Press;
  pointer.Button = mouse.Button;
  pointer.X = float(int64_t(mouse.X) - area.Left);
  pointer.Y = float(int64_t(mouse.Y) - area.Top);
  pointer.State = mouse.KeyState;
  pointer.Enabled = enabled;
  const TSlidePointerResult found = PointerOnSlide(*slide, pointer);
  if (!found.Object) return {};
  const TKivSource& source = FProducer->Source();
  const auto resolve = [&source](const TKivActionInfo& action) {
    return ResolveSlideName(action, [&source](std::u16string_view name) { return SlideIndexByName(source.Slides(), name); });
  };
  return {THitKind::Object, resolve(found.Action), ClassNameOf(*found.Object), resolve(found.Reported), false};
}

}  // namespace kiv
