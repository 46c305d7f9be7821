// The typed getters of TIniIdentList: value text in, typed value or the caller's default out.
#include <algorithm>
#include <array>
#include <functional>

#include "base/text.h"
#include "ini/ini_ident_list.h"

namespace kiv {

namespace {

uint8_t ClampToByte(int32_t value) { return uint8_t(std::clamp<int32_t>(value, 0, 255)); }

bool ParseString(std::u16string_view text, std::u16string& value) {
  value = text;
  return true;
}

bool ParseFloatForPoint(std::u16string_view text, float& value) {
  double parsed = 0;
  if (!ParseIniFloat(text, parsed)) return false;
  value = float(parsed);
  return true;
}

template <typename Equal>
int FindName(std::u16string_view value, std::span<const std::u16string_view> names, int def, Equal equal) {
  for (size_t i = 0; i < names.size(); ++i)
    if (equal(value, names[i])) return int(i);
  return def;
}

}  // namespace

template <typename T, typename Parse>
int TIniIdentList::ReadList(std::u16string_view name, std::span<T> items, Parse parse) const {
  const TIniIdent* ident = FindIdent(name);
  if (!ident) return 0;
  const std::u16string value = ident->GetValue();
  const std::vector<std::u16string_view> parts = SplitIniList(value);
  for (size_t i = 0; i < parts.size(); ++i) {
    T item{};
    if (!parse(parts[i], item)) return ~int(i);
    if (i < items.size()) items[i] = std::move(item);
  }
  return int(parts.size());
}

std::u16string TIniIdentList::ReadString(std::u16string_view name, std::u16string_view def) const {
  const TIniIdent* ident = FindIdent(name);
  return ident ? ident->GetValue() : std::u16string(def);
}

int32_t TIniIdentList::ReadInteger(std::u16string_view name, int32_t def) const {
  const TIniIdent* ident = FindIdent(name);
  int32_t value = def;
  return ident && ParseIniInteger(ident->GetValue(), value) ? value : def;
}

double TIniIdentList::ReadFloat(std::u16string_view name, double def) const {
  const TIniIdent* ident = FindIdent(name);
  double value = def;
  return ident && ParseIniFloat(ident->GetValue(), value) ? value : def;
}

bool TIniIdentList::ReadBool(std::u16string_view name, bool def) const {
  const TIniIdent* ident = FindIdent(name);
  bool value = def;
  return ident && ParseIniBool(ident->GetValue(), value) ? value : def;
}

int TIniIdentList::ReadEnum(std::u16string_view name, std::span<const std::u16string_view> names,
                            int def) const {
  const TIniIdent* ident = FindIdent(name);
  return ident ? FindName(ident->GetValue(), names, def, SameTextIgnoringCase) : def;
}

int TIniIdentList::ReadEnumExact(std::u16string_view name, std::span<const std::u16string_view> names,
                                 int def) const {
  const TIniIdent* ident = FindIdent(name);
  return ident ? FindName(ident->GetValue(), names, def, std::equal_to<std::u16string_view>()) : def;
}

int TIniIdentList::ReadStrings(std::u16string_view name, std::span<std::u16string> items) const {
  return ReadList(name, items, ParseString);
}

int TIniIdentList::ReadIntegers(std::u16string_view name, std::span<int32_t> items) const {
  return ReadList(name, items, ParseIniInteger);
}

int TIniIdentList::ReadFloats(std::u16string_view name, std::span<double> items) const {
  return ReadList(name, items, ParseIniFloat);
}

uint32_t TIniIdentList::ReadColor(std::u16string_view name, uint32_t def) const {
  std::array<int32_t, 3> c{};
  if (ReadIntegers(name, c) != 3) return def;
  return MakeColor(ClampToByte(c[0]), ClampToByte(c[1]), ClampToByte(c[2]));
}

uint32_t TIniIdentList::ReadColorAlpha(std::u16string_view name, uint32_t def) const {
  std::array<int32_t, 4> c{};
  if (ReadIntegers(name, c) != 4) return def;
  return MakeColor(ClampToByte(c[0]), ClampToByte(c[1]), ClampToByte(c[2]), ClampToByte(c[3]));
}

TIniPoint TIniIdentList::ReadPoint(std::u16string_view name, TIniPoint def) const {
  std::array<int32_t, 2> p{};
  return ReadIntegers(name, p) == 2 ? TIniPoint{p[0], p[1]} : def;
}

TIniPointF TIniIdentList::ReadPointF(std::u16string_view name, TIniPointF def) const {
  std::array<float, 2> p{};
  return ReadList(name, std::span<float>(p), ParseFloatForPoint) == 2 ? TIniPointF{p[0], p[1]} : def;
}

}  // namespace kiv
