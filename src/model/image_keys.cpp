#include "model/image_keys.h"

#include <vector>

#include "base/text.h"

namespace kiv {

namespace {

constexpr std::array<std::u16string_view, 3> kFilteringNames{u"Nearest", u"Bilinear", u"Default"};

// A list that holds anything but integers counts as absent.
std::vector<int32_t> ReadIntegerList(const TIniIdentList& section, std::u16string_view name) {
  const int count = section.ReadIntegers(name, {});
  if (count <= 0) return {};
  std::vector<int32_t> items(static_cast<size_t>(count));
  section.ReadIntegers(name, items);
  return items;
}

TAnimKeys ReadAnimKeys(const TIniIdentList& section) {
  TAnimKeys anim;
  anim.Columns = section.ReadInteger(u"AnimColumns", anim.Columns);
  anim.Rows = section.ReadInteger(u"AnimRows", anim.Rows);
  anim.RepCount = section.ReadInteger(u"AnimRepCount", anim.RepCount);
  anim.Offset = section.ReadFloat(u"AnimOffset", anim.Offset);
  anim.Count = section.ReadInteger(u"AnimCount", anim.Count);
  anim.Intervals = ReadIntegerList(section, u"AnimInterval");
  return anim;
}

}  // namespace

TFiltering ReadFiltering(const TIniIdentList& section, std::u16string_view name) {
  return TFiltering(section.ReadEnum(name, kFilteringNames, int(TFiltering::Default)));
}

TRectAndPair ReadRectAndPair(const TIniIdentList& section, std::u16string_view name) {
  std::array<double, 6> values{};
  const int count = section.ReadFloats(name, values);
  if (count == 4) return {{values[0], values[1], values[2], values[3]}, {-1, -1}};
  if (count == 6) return {{values[0], values[1], values[2], values[3]}, {values[4], values[5]}};
  return {};
}

uint32_t ReadColorWithOptionalAlpha(const TIniIdentList& section, std::u16string_view name, uint32_t def) {
  return section.ReadColorAlpha(name, section.ReadColor(name, def));
}

TImageKeys ReadImageKeys(const TIniIdentList& section, std::u16string_view kindWord) {
  TImageKeys keys;
  keys.MainImage = LowerCase(kindWord) == u"mainimage";
  keys.Antialiased = section.ReadBool(u"Antialiased", keys.Antialiased);
  keys.Filtering = ReadFiltering(section, u"Filtering");
  keys.ImageName = section.ReadString(u"ImageName", u"");
  keys.MipLodBias = section.ReadFloat(u"MipLodBias", keys.MipLodBias);
  keys.ReplaceWithEffectBuffer = section.ReadInteger(u"ReplaceWithEffectBuffer", keys.ReplaceWithEffectBuffer);
  keys.EnableBorder = section.ReadBool(u"EnableBorder", keys.EnableBorder);
  keys.EnableCrop = section.ReadBool(u"EnableCrop", keys.EnableCrop);
  keys.EnableAspect = section.ReadBool(u"EnableAspect", keys.EnableAspect);
  keys.BorderWidth = section.ReadFloat(u"BorderWidth", keys.BorderWidth);
  keys.BorderColor = ReadColorWithOptionalAlpha(section, u"BorderColor", keys.BorderColor);
  keys.CropRect = ReadRectAndPair(section, u"CropRect");
  keys.AspectParams = ReadRectAndPair(section, u"AspectParams");
  keys.Anim = ReadAnimKeys(section);
  return keys;
}

std::u16string PictureSourceName(const TImageKeys& keys) {
  if (keys.ReplaceWithEffectBuffer > 0) return u"SlideEffectBuffer" + IntToText(keys.ReplaceWithEffectBuffer);
  return keys.ImageName;
}

}  // namespace kiv
