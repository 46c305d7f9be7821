#include "model/effect_options.h"

#include <algorithm>

#include "base/text.h"

namespace kiv {

const TEffectKeys kShowEffectKeys{
    u"opt_fx_broomoffset",  u"opt_fx_rolldiameter", u"opt_fx_rollvariants",   u"opt_fx_rollusebackcolor",
    u"opt_fx_rollbackcolor", u"opt_fx_roll3d",       u"opt_fx_rollcurving",    u"opt_fx_flipcenter",
    u"opt_fx_flipcurving",  u"opt_fx_flipsmooth",   u"opt_fx_swapdepth",      u"opt_fx_swapwidth",
    u"opt_fx_swapmaxangle", u"opt_fx_mosaic_dx",    u"opt_fx_mosaic_dy",      u"opt_fx_mosaic_sc",
    u"opt_fx_center_x",     u"opt_fx_center_y"};

const TEffectKeys kPersonalEffectKeys{
    u"EffectBroomOffset", u"EffectRollDiameter", u"EffectRollVariants", u"EffectRollUseBackColor",
    u"EffectRollBackColor", u"EffectRoll3D",     u"EffectRollCurving",  u"EffectFlipCenter",
    u"EffectFlipCurving", u"EffectFlipSmooth",   u"EffectSwapDepth",    u"EffectSwapWidth",
    u"EffectSwapMaxAngle", u"EffectMosaicDX",    u"EffectMosaicDY",     u"EffectMosaicSC",
    u"EffectCenterX",     u"EffectCenterY"};

namespace {

// A broken count must not make the reader walk a billion keys.
constexpr int32_t kMaxCustomEffects = 1000;

void ReadFlag(const TIniIdentList& section, std::u16string_view key, bool& flag) {
  flag = section.ReadString(key, flag ? u"1" : u"0") == u"1";
}

void ReadNumber(const TIniIdentList& section, std::u16string_view key, int32_t& value) {
  value = section.ReadInteger(key, value);
}

void ReadNumber(const TIniIdentList& section, std::u16string_view key, double& value) {
  value = section.ReadFloat(key, value);
}

std::vector<std::u16string> ReadCustomEffects(const TIniIdentList& main) {
  const int32_t count = std::clamp(main.ReadInteger(u"opt_fx_custom_count", 0), 0, kMaxCustomEffects);
  std::vector<std::u16string> effects;
  for (int32_t n = 0; n < count; ++n) effects.push_back(main.ReadString(u"opt_fx_custom" + IntToText(n), u""));
  return effects;
}

// The custom class's text is a comma-separated list of flags; flag N lets custom effect N take part.
std::vector<int> CustomEffectTypes(std::u16string_view flags, size_t customCount) {
  std::vector<int> types;
  const std::vector<std::u16string_view> items = SplitIniList(flags);
  for (size_t n = 0; n < items.size() && n < customCount; ++n) {
    bool on = false;
    if (ParseIniBool(items[n], on) && on) types.push_back(int(n));
  }
  return types;
}

std::vector<int> ShapeEffectTypes(std::u16string_view characters) {
  std::vector<int> types;
  for (char16_t c : characters.substr(0, kMaxEffectTypes)) types.push_back(EffectTypeOf(c));
  return types;
}

std::vector<TEffGroup> ReadEffectGroups(const TIniIdentList& main, size_t customCount) {
  std::vector<TEffGroup> groups;
  for (int effectClass = 0; effectClass < kEffectClassCount; ++effectClass) {
    const std::u16string text = main.ReadString(u"opt_fx_eff" + IntToText(effectClass + 1), u"");
    TEffGroup group{effectClass, effectClass == kCustomEffectClass ? CustomEffectTypes(text, customCount)
                                                                   : ShapeEffectTypes(text)};
    if (!group.Types.empty()) groups.push_back(std::move(group));
  }
  return groups;
}

TRgb RgbOf(uint32_t color) { return {uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color)}; }

}  // namespace

void ReadEffectSettings(const TIniIdentList& section, const TEffectKeys& keys, TEffectSettings& settings) {
  ReadNumber(section, keys.BroomOffset, settings.BroomOffset);
  ReadNumber(section, keys.RollDiameter, settings.RollDiameter);
  settings.RollVariants = section.ReadString(keys.RollVariants, settings.RollVariants);
  ReadFlag(section, keys.RollUseBackColor, settings.RollUseBackColor);
  if (settings.RollUseBackColor)
    settings.RollBackColor = uint32_t(section.ReadInteger(keys.RollBackColor, int32_t(settings.RollBackColor)));
  ReadFlag(section, keys.Roll3D, settings.Roll3D);
  ReadNumber(section, keys.RollCurving, settings.RollCurving);
  ReadFlag(section, keys.FlipCenter, settings.FlipCenter);
  ReadNumber(section, keys.FlipCurving, settings.FlipCurving);
  ReadFlag(section, keys.FlipSmooth, settings.FlipSmooth);
  ReadNumber(section, keys.SwapDepth, settings.SwapDepth);
  ReadNumber(section, keys.SwapWidth, settings.SwapWidth);
  ReadNumber(section, keys.SwapMaxAngle, settings.SwapMaxAngle);
  ReadNumber(section, keys.MosaicColumns, settings.MosaicColumns);
  ReadNumber(section, keys.MosaicRows, settings.MosaicRows);
  ReadNumber(section, keys.MosaicSpread, settings.MosaicSpread);
  ReadNumber(section, keys.CenterX, settings.CenterX);
  ReadNumber(section, keys.CenterY, settings.CenterY);
}

TEffectOptions ReadEffectOptions(const TIniIdentList& main) {
  TEffectOptions options;
  const bool enabled = main.ReadString(u"opt_fx_enable", u"0") == u"1";
  options.Time = main.ReadInteger(u"opt_fx_time", 0);
  options.Settings.SmoothLine = main.ReadInteger(u"opt_fx_smoothline", 0);
  if (!enabled || options.Time <= 0) return options;
  ReadEffectSettings(main, kShowEffectKeys, options.Settings);
  options.CustomEffects = ReadCustomEffects(main);
  options.Groups = ReadEffectGroups(main, options.CustomEffects.size());
  return options;
}

int EffectTypeOf(char16_t c) {
  if (c >= u'1' && c <= u'8') return c - u'1' + 1;
  if (c >= u'A' && c <= u'H') return c - u'A' + 9;
  if (c >= u'a' && c <= u'h') return c - u'a' + 9;
  return 1;
}

int EffectTypeOf(std::u16string_view text) { return text.empty() ? 1 : EffectTypeOf(text.front()); }

TEffectParams MakeEffectParams(const TEffectSettings& settings, bool rollVariants, int32_t randomSeed,
                               std::u16string customEffect) {
  TEffectParams params;
  params.SoftEdge = float(settings.SmoothLine / 1000.0);
  params.BroomOffset = float(settings.BroomOffset / 100.0);
  params.RollDiameter = float(settings.RollDiameter / 1000.0);
  params.RollVariants = rollVariants;
  params.RollUseBackColor = settings.RollUseBackColor;
  params.RollBackColor = RgbOf(settings.RollBackColor);
  params.Roll3D = settings.Roll3D;
  params.RollCurving = float(settings.RollCurving);
  params.FlipCenter = settings.FlipCenter;
  params.FlipCurving = float(settings.FlipCurving);
  params.FlipSmooth = settings.FlipSmooth;
  params.SwapDepth = float(settings.SwapDepth);
  params.SwapWidth = float(settings.SwapWidth);
  params.SwapMaxAngle = float(settings.SwapMaxAngle);
  params.CenterX = settings.CenterX;
  params.CenterY = settings.CenterY;
  params.MosaicColumns = settings.MosaicColumns;
  params.MosaicRows = settings.MosaicRows;
  params.MosaicSpread = settings.MosaicSpread;
  params.RandomSeed = randomSeed;
  params.CustomEffect = std::move(customEffect);
  return params;
}

}  // namespace kiv
