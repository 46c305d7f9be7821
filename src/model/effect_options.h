#pragma once
// The transition options of a show: the "opt_fx_" keys of section "main", and the same
// parameters as a slide's personal keys give them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ini/ini_ident_list.h"
#include "render/drawer/effect_params.h"

namespace kiv {

// The class whose types name custom effects ("opt_fx_custom" + N) instead of shapes.
constexpr int kCustomEffectClass = 18;
// Classes 0 … 18 come from the keys "opt_fx_eff1" … "opt_fx_eff19".
constexpr int kEffectClassCount = 19;
// A class offers at most this many types.
constexpr int kMaxEffectTypes = 16;
// The roll back colour when the show uses none of its own: white, like the back of a page.
constexpr uint32_t kDefaultRollBackColor = 0xFFFFFF;

// One class of the catalogue and the types it may be played with, in key order. For
// the custom class the types are the numbers N of the custom effects that take part.
struct TEffGroup {
  int Class = 0;
  std::vector<int> Types;
};

// The effect parameters as the project writes them (thousandths, hundredths, percent).
struct TEffectSettings {
  int32_t SmoothLine = 0;    // thousandths of the slide width
  int32_t BroomOffset = 0;   // hundredths
  int32_t RollDiameter = 0;  // thousandths of the slide width
  std::u16string RollVariants = u"1";  // "1": on; "3": on or off chosen per slide; other: off
  bool RollUseBackColor = false;
  uint32_t RollBackColor = kDefaultRollBackColor;  // integer colour, red in bits 16-23
  bool Roll3D = false;
  double RollCurving = 0.125;
  bool FlipCenter = false;
  double FlipCurving = 0.5;
  bool FlipSmooth = true;
  double SwapDepth = 4;
  double SwapWidth = 1;
  double SwapMaxAngle = 60;
  int32_t MosaicColumns = 1;
  int32_t MosaicRows = 1;
  int32_t MosaicSpread = 0;
  int32_t CenterX = 50;
  int32_t CenterY = 50;
};

// The key of each setting but the soft edge, which show and slide enable differently.
struct TEffectKeys {
  std::u16string_view BroomOffset, RollDiameter, RollVariants, RollUseBackColor, RollBackColor, Roll3D,
      RollCurving, FlipCenter, FlipCurving, FlipSmooth, SwapDepth, SwapWidth, SwapMaxAngle, MosaicColumns,
      MosaicRows, MosaicSpread, CenterX, CenterY;
};
extern const TEffectKeys kShowEffectKeys;      // "opt_fx_broomoffset" …
extern const TEffectKeys kPersonalEffectKeys;  // "EffectBroomOffset" …

struct TEffectOptions {
  int32_t Time = 0;  // ms of every effect chosen from the catalogue
  TEffectSettings Settings;
  std::vector<TEffGroup> Groups;             // the classes that take part, in key order
  std::vector<std::u16string> CustomEffects;  // "opt_fx_custom" + N for N from 0

  // Transitions are on when enabled, timed and at least one class takes part.
  bool TransitionsOn() const { return !Groups.empty(); }
};

// Reads the settings present in section; absent or unreadable keys keep their value.
// Flags are on for the text "1". The back colour is read only when it is used.
void ReadEffectSettings(const TIniIdentList& section, const TEffectKeys& keys, TEffectSettings& settings);

// Reads the "opt_fx_" keys of "main". Only "opt_fx_enable", "opt_fx_time" and
// "opt_fx_smoothline" are read while transitions are off.
TEffectOptions ReadEffectOptions(const TIniIdentList& main);

// "1"-"8": types 1-8; "A"-"H" and "a"-"h": types 9-16; any other character: type 1.
int EffectTypeOf(char16_t c);
// The type given by the first character of text; type 1 when empty.
int EffectTypeOf(std::u16string_view text);

// The record for the transition factory: fractions from the project's units.
TEffectParams MakeEffectParams(const TEffectSettings& settings, bool rollVariants, int32_t randomSeed,
                               std::u16string customEffect);

}  // namespace kiv
