#include "model/kiv_source.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "base/errors.h"
#include "base/text.h"
#include "model/show_main.h"
#include "model/slide_effect.h"
#include "model/slide_id.h"
#include "model/slide_order.h"

namespace kiv {

namespace {

// The records before the show: the lead-in ends where the first slide starts.
constexpr double kLeadInStart = -1073741823;
constexpr double kBeforeLeadInStart = -2147483647;

constexpr std::u16string_view kEndModeNames[] = {u"repeat", u"close", u"stop"};
// "Pers_EndAction" values; the last one defers to the show's "opt_manualshow".
constexpr std::u16string_view kEndActionNames[] = {u"pause", u"loop", u""};
enum TEndActionKind { kAdvance = -1, kPause = 0, kLoop = 1, kShowDefault = 2 };

// The extension of the last part of a path, with its ".", or empty.
std::u16string_view FileExtension(std::u16string_view path) {
  const size_t separator = path.find_last_of(u"\\/");
  const size_t nameStart = separator == std::u16string_view::npos ? 0 : separator + 1;
  const size_t dot = path.rfind(u'.');
  return dot == std::u16string_view::npos || dot < nameStart ? std::u16string_view() : path.substr(dot);
}

TSlideInfo Shifted(TSlideInfo info, double shift) {
  info.StartTime += shift;
  info.EndTime += shift;
  info.TotalEnd += shift;
  return info;
}

}  // namespace

TKivSource::TKivSource(TFileAccessor* container, TIniStorage* document, bool ownsDocument,
                       std::u16string_view programPath, IRandomSource* random)
    : FContainer(container), FDocument(document), FOwnedDocument(ownsDocument ? document : nullptr) {
  KIV_ASSERT(FDocument);
  FMain = FindMainSection(*FDocument);
  KIV_ASSERT(FMain);
  ApplyRunMode(programPath);
  ReadOptions();
  FEffectOptions = ReadEffectOptions(*FMain);
  FEffectChooser = std::make_unique<TEffectChooser>(FEffectOptions.Groups, random ? *random : RandomSource());
  BuildTimingTable();
}

TKivSource::~TKivSource() = default;

// A screen saver is full screen, hides the cursor and the control panel and never ends
// by itself; later readers of "main" see these values.
void TKivSource::ApplyRunMode(std::u16string_view programPath) {
  FScreenSaver = LowerCase(FileExtension(programPath)) == u".scr";
  if (!FScreenSaver) {
    FMain->WriteString(u"opt_ssaver", u"0");
    return;
  }
  FMain->WriteString(u"opt_ssaver", u"1");
  FMain->WriteString(u"opt_fcp", u"0");
  FMain->WriteString(u"opt_hidecursor", u"1");
  FMain->WriteString(u"opt_scr_full", u"1");
  FMain->WriteString(u"opt_repeat", u"repeat");
}

void TKivSource::ReadOptions() {
  FPauseWhenInactive = FMain->ReadBool(u"opt_pausewheninactive", true);
  FEndMode = TEndMode(FMain->ReadEnumExact(u"opt_repeat", kEndModeNames, int(TEndMode::Repeat)));
  FSlideCount = ReadSlideCount(*FMain);
  FHiderColor = uint32_t(FMain->ReadInteger(u"opt_scr_hidercolor", 0));
  FUnsharpAmount = FMain->ReadFloat(u"opt_scr_unsharpamount", 0);
  FUnsharpThreshold = uint8_t(std::clamp(FMain->ReadInteger(u"opt_scr_unsharpthreshold", 0), 0, 255));
}

void TKivSource::BuildTimingTable() {
  FSlides.resize(size_t(FSlideCount));
  double previous = 0;
  for (int i = 0; i < FSlideCount; ++i) {
    const double sync = FMain->ReadInteger(u"opt_synchpos" + IntToText(i + 1), 0);
    if (sync < previous) KIV_FAIL("Incorrect time");
    const TIniSection* section = SlideSection(*FDocument, i);
    FSlides[size_t(i)] = {previous, sync, 0, 0, sync, section ? SlideIdOf(*section) : std::u16string()};
    FDuration = sync;
    previous = sync;
  }
  // A change is cut to the slide it leads into: all slide lengths are known by now.
  for (int i = 0; i < FSlideCount; ++i) {
    TSlideInfo& info = FSlides[size_t(i)];
    info.EffectInTime = SlideChange(i).Duration;
    info.EffectOutTime = SlideChange(i + 1).Duration;
    info.TotalEnd = info.EndTime + info.EffectOutTime;
  }
}

TSlideTiming TKivSource::SlideTiming(int index) const {
  if (index <= -2) return {{kBeforeLeadInStart, kLeadInStart, 0, 0, kLeadInStart, {}}, -1};
  if (index == -1 || FSlideCount == 0) {
    const double firstIn = FSlides.empty() ? 0 : FSlides.front().EffectInTime;
    return {{kLeadInStart, 0, 0, firstIn, firstIn, {}}, index == -1 ? -1 : 0};
  }
  const int loop = index / FSlideCount;
  return {Shifted(FSlides[size_t(index % FSlideCount)], loop * FDuration), loop};
}

// The round is computed from the time instead of walking the slides, so a far or
// unreachable time costs no more than a near one.
int TKivSource::SlideAt(double time) const {
  if (!(time > 0) || !std::isfinite(time) || FSlideCount == 0 || !(FDuration > 0)) return -1;
  // Rounds completed before time; the end of a round belongs to that round.
  double loop = std::ceil(time / FDuration) - 1;
  double local = time - loop * FDuration;
  if (local <= 0) {
    loop -= 1;
    local += FDuration;
  } else if (local > FDuration) {
    loop += 1;
    local -= FDuration;
  }
  const auto slide = std::lower_bound(FSlides.begin(), FSlides.end(), local,
                                      [](const TSlideInfo& info, double t) { return info.EndTime < t; });
  const double index = loop * FSlideCount + double(slide - FSlides.begin());
  return index <= INT_MAX ? int(index) : -1;
}

const TIniSection* TKivSource::PersonalSection(int index) const {
  const TIniSection* section = SlideSection(*FDocument, index);
  return section && section->ReadBool(u"UsePersonal", false) ? section : nullptr;
}

TSlideEndAction TKivSource::EndAction(int index) const {
  if (index < 0 || FSlideCount == 0) return {};
  const int slide = index % FSlideCount;
  const int showDefault = FMain->ReadString(u"opt_manualshow", u"") == u"1" ? kPause : kAdvance;
  int action = showDefault;
  if (const TIniSection* personal = PersonalSection(slide)) {
    action = personal->ReadEnumExact(u"Pers_EndAction", kEndActionNames, kAdvance);
    if (action == kShowDefault) action = showDefault;
  }
  const TSlideInfo& info = FSlides[size_t(slide)];
  switch (action) {
    case kPause:
      return {true, 0};
    case kLoop:
      return {true, info.EndTime - info.StartTime - info.EffectInTime};
    default:
      return {};
  }
}

TRunApp TKivSource::RunAppOnSlide(int index) const {
  if (index < 0 || FSlideCount == 0) return {};
  const TIniSection* personal = PersonalSection(index % FSlideCount);
  if (!personal || !personal->ReadBool(u"Pers_RunApp", false)) return {};
  std::u16string fileName = personal->ReadString(u"RunAppFN", u"");
  return {!fileName.empty(), std::move(fileName)};
}

TSlideEffect TKivSource::GetSlideEffect(int index) {
  if (index < 0 || FSlideCount == 0) return {};
  if (index >= FSlideCount && FEndMode != TEndMode::Repeat) return {};
  const int slide = index % FSlideCount;
  std::lock_guard lock(FEffectLock);
  return SlideEffect(SlideSection(*FDocument, slide), slide, FEffectOptions, *FEffectChooser);
}

TSlideEffect TKivSource::SlideChange(int index) {
  TSlideEffect effect = GetSlideEffect(index);
  if (index < 0 || FSlideCount == 0) return effect;
  const TSlideInfo& slide = FSlides[size_t(index % FSlideCount)];
  effect.Duration = std::min(effect.Duration, int32_t(slide.EndTime - slide.StartTime));
  return effect;
}

TEffectChoice TKivSource::ChooseEffect(int slideIndex) {
  std::lock_guard lock(FEffectLock);
  return FEffectChooser->ChooseEffect(slideIndex);
}

void TKivSource::SetRepeatableEffects(bool repeatable, uint32_t seed) {
  std::lock_guard lock(FEffectLock);
  FEffectChooser->SetRepeatable(repeatable, seed);
}

}  // namespace kiv
