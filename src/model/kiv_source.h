#pragma once
// A show as the player plays it: the project document read into show options, slide
// order, the timing of every slide and the transitions between them.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "ini/ini_storage.h"
#include "model/effect_chooser.h"
#include "model/effect_options.h"
#include "model/random_source.h"
#include "model/slide_effect.h"
#include "model/slide_info.h"

namespace kiv {

class TFileAccessor;

// What happens after the last slide ("opt_repeat").
enum class TEndMode { Repeat = 0, Close = 1, Stop = 2 };

struct TSlideEndAction {
  bool Stops = false;     // the slide waits instead of advancing at its end
  double LoopLength = 0;  // for a looping slide: the part that repeats
};

struct TRunApp {
  bool Run = false;
  std::u16string FileName;
};

class TKivSource {
 public:
  // document is required; the source frees it when ownsDocument is set (also when
  // creation fails). container is kept for the show's files and not owned. programPath
  // is the running program: an extension ".scr" (any case) runs the show as a screen
  // saver, which forces its options into the loaded "main" section. Choices draw from
  // random, or from the process-wide source when none is given.
  // Fails with "Assertion failure" without "main", with "Incorrect time" when a slide
  // ends before the previous one.
  TKivSource(TFileAccessor* container, TIniStorage* document, bool ownsDocument, std::u16string_view programPath,
             IRandomSource* random = nullptr);
  ~TKivSource();
  TKivSource(const TKivSource&) = delete;
  TKivSource& operator=(const TKivSource&) = delete;

  TFileAccessor* Container() const { return FContainer; }
  TIniStorage& Document() const { return *FDocument; }
  TIniSection& MainSection() const { return *FMain; }

  int SlideCount() const { return FSlideCount; }
  TEndMode EndMode() const { return FEndMode; }
  // End of the last slide.
  double Duration() const { return FDuration; }
  const std::vector<TSlideInfo>& Slides() const { return FSlides; }

  bool PauseWhenInactive() const { return FPauseWhenInactive; }
  bool ScreenSaver() const { return FScreenSaver; }
  uint32_t HiderColor() const { return FHiderColor; }
  double UnsharpAmount() const { return FUnsharpAmount; }
  uint8_t UnsharpThreshold() const { return FUnsharpThreshold; }
  const TEffectOptions& EffectOptions() const { return FEffectOptions; }

  // The record of the slide played at index, counting on through later rounds. Index -1
  // is the lead-in before the show, -2 and below the time before that; a show without
  // slides answers the lead-in for every index.
  TSlideTiming SlideTiming(int index) const;
  // The index whose slide covers time (a boundary belongs to the earlier slide); -1 for
  // the lead-in and for any time no slide covers (no slides, no duration, NaN, too far).
  int SlideAt(double time) const;
  TSlideEndAction EndAction(int index) const;
  // The program a slide starts ("RunAppFN" of a personal slide with "Pers_RunApp").
  TRunApp RunAppOnSlide(int index) const;

  // The transition into the slide at index; no transition for a negative index and for
  // indexes past the last slide when the show does not repeat.
  TSlideEffect GetSlideEffect(int index);
  // The same transition as it is played: cut to the length of the slide it leads into.
  // The timing table, the prepared slides and the drawer all take this duration.
  TSlideEffect SlideChange(int index);
  TEffectChoice ChooseEffect(int slideIndex);
  // Set by the engine when the same show must play the same transitions every time.
  void SetRepeatableEffects(bool repeatable, uint32_t seed);

 private:
  void ApplyRunMode(std::u16string_view programPath);
  void ReadOptions();
  void BuildTimingTable();
  // The slide's section when its "UsePersonal" is set, else none.
  const TIniSection* PersonalSection(int index) const;

  TFileAccessor* FContainer;
  TIniStorage* FDocument;
  std::unique_ptr<TIniStorage> FOwnedDocument;
  TIniSection* FMain = nullptr;
  int FSlideCount = 0;
  TEndMode FEndMode = TEndMode::Repeat;
  std::vector<TSlideInfo> FSlides;
  double FDuration = 0;
  TEffectOptions FEffectOptions;
  std::unique_ptr<TEffectChooser> FEffectChooser;
  std::mutex FEffectLock;  // the loader and the engine both ask for transitions
  bool FPauseWhenInactive = true;
  bool FScreenSaver = false;
  uint32_t FHiderColor = 0;
  double FUnsharpAmount = 0;
  uint8_t FUnsharpThreshold = 0;
};

}  // namespace kiv
