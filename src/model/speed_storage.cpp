#include "model/speed_storage.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "base/errors.h"
#include "base/text.h"
#include "ini/ini_values.h"

namespace kiv {

namespace {

// Hands out the ";"-ended fields of a profile text one by one.
class TFieldReader {
 public:
  explicit TFieldReader(std::u16string_view text) : FRest(text) {}

  bool AtEnd() const { return FRest.empty(); }

  std::optional<int32_t> Integer() {
    int32_t value = 0;
    const std::optional<std::u16string_view> field = Next();
    if (!field || !ParseIniInteger(*field, value)) return std::nullopt;
    return value;
  }
  std::optional<double> Float() {
    double value = 0;
    const std::optional<std::u16string_view> field = Next();
    if (!field || !ParseIniFloat(*field, value)) return std::nullopt;
    return value;
  }
  std::optional<int32_t> Count() {
    const std::optional<int32_t> count = Integer();
    if (!count || *count < 0 || *count > TSpeedStorage::kMaxCount) return std::nullopt;
    return count;
  }

 private:
  std::optional<std::u16string_view> Next() {
    const size_t end = FRest.find(u';');
    if (end == std::u16string_view::npos) return std::nullopt;
    const std::u16string_view field = FRest.substr(0, end);
    FRest.remove_prefix(end + 1);
    return field;
  }

  std::u16string_view FRest;
};

// The shortest text that reads back as the same double, with "." as decimal point.
std::u16string FloatText(double value) {
  char buffer[32];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return Utf8ToUtf16(std::string_view(buffer, size_t(result.ptr - buffer)));
}

}  // namespace

void TSpeedStorage::AddKey(int32_t time) {
  const auto place = std::upper_bound(FKeys.begin(), FKeys.end(), time);
  const int b = int(place - FKeys.begin());
  FKeys.insert(place, time);
  const int last = int(FKeys.size()) - 1;
  if (last == 1) {
    FIntervals.push_back({0, 1, FDefaultS1, FDefaultS2});
  } else if (last > 1 && b == last) {
    if (!FIntervals.empty()) FIntervals.back().To = b;
  } else if (last > 1) {
    // A new first key widens the run that started at the old first key; any other
    // moves every index from its place on.
    const int firstMoved = b == 0 ? 1 : b;
    for (TInterval& interval : FIntervals) {
      if (interval.From >= firstMoved) ++interval.From;
      if (interval.To >= firstMoved) ++interval.To;
    }
  }
  Changed();
}

void TSpeedStorage::RemoveKey(int32_t time) {
  const auto found = std::lower_bound(FKeys.begin(), FKeys.end(), time);
  KIV_ASSERT(found != FKeys.end() && *found == time);
  RemoveKeyAt(int(found - FKeys.begin()));
}

void TSpeedStorage::RemoveKeyAt(int b) {
  KIV_ASSERT(b >= 0 && b < int(FKeys.size()));
  FKeys.erase(FKeys.begin() + b);
  if (FKeys.empty()) {
    FIntervals.clear();
    Changed();
    return;
  }
  const auto indexWhere = [&](auto test) {
    const auto at = std::find_if(FIntervals.begin(), FIntervals.end(), test);
    return at == FIntervals.end() ? -1 : int(at - FIntervals.begin());
  };
  const int starting = indexWhere([b](const TInterval& i) { return i.From == b; });
  const int ending = indexWhere([b](const TInterval& i) { return i.To == b; });
  // Every index past the removed key moves down, also when a run ends right there, so
  // the runs after it keep pointing at their keys.
  for (TInterval& interval : FIntervals) {
    if (interval.From > b) --interval.From;
    if (interval.To > b) --interval.To;
  }
  if (ending >= 0 && starting >= 0 && ending != starting) {
    FIntervals[size_t(ending)].To = FIntervals[size_t(starting)].To;
    FIntervals.erase(FIntervals.begin() + starting);
  } else if (ending >= 0) {
    --FIntervals[size_t(ending)].To;
  }
  std::erase_if(FIntervals, [](const TInterval& i) { return i.From >= i.To; });
  Changed();
}

void TSpeedStorage::SetKeys(std::vector<int32_t> times) {
  KIV_ASSERT(times.size() == FKeys.size());
  FKeys = std::move(times);
  Changed();
}

std::u16string TSpeedStorage::AsText() const {
  std::u16string text = IntToText(int64_t(FKeys.size())) + u';';
  for (int32_t key : FKeys) text += IntToText(key) + u';';
  text += IntToText(int64_t(FIntervals.size())) + u';';
  for (const TInterval& i : FIntervals)
    text += IntToText(i.From) + u';' + IntToText(i.To) + u';' + FloatText(i.S1) + u';' + FloatText(i.S2) + u';';
  return text + FloatText(FDefaultS1) + u';' + FloatText(FDefaultS2) + u';';
}

bool TSpeedStorage::FromText(std::u16string_view text) {
  const bool parsed = Parse(text);
  if (!parsed) {
    FKeys.assign(1, 0);
    FIntervals.clear();
    FDefaultS1 = 0;
    FDefaultS2 = 1;
  }
  Changed();
  return parsed;
}

bool TSpeedStorage::Parse(std::u16string_view text) {
  TFieldReader fields(text);
  const std::optional<int32_t> keyCount = fields.Count();
  if (!keyCount) return false;
  std::vector<int32_t> keys;
  for (int32_t i = 0; i < *keyCount; ++i) {
    const std::optional<int32_t> key = fields.Integer();
    if (!key || (!keys.empty() && *key < keys.back())) return false;
    keys.push_back(*key);
  }
  const std::optional<int32_t> intervalCount = fields.Count();
  if (!intervalCount) return false;
  std::vector<TInterval> intervals;
  for (int32_t i = 0; i < *intervalCount; ++i) {
    const std::optional<int32_t> from = fields.Integer(), to = fields.Integer();
    const std::optional<double> s1 = fields.Float(), s2 = fields.Float();
    if (!from || !to || !s1 || !s2) return false;
    if (*from < 0 || *from > *to || *to >= *keyCount || !TInterval::SoundPair(*s1, *s2)) return false;
    if (*from == *to && *keyCount > 1) continue;
    intervals.push_back({*from, *to, *s1, *s2});
  }
  double defaultS1 = 0, defaultS2 = 1;
  if (!fields.AtEnd()) {
    const std::optional<double> s1 = fields.Float(), s2 = fields.Float();
    if (!s1 || !s2 || !TInterval::SoundPair(*s1, *s2) || !fields.AtEnd()) return false;
    defaultS1 = *s1;
    defaultS2 = *s2;
  }
  FKeys = std::move(keys);
  FIntervals = std::move(intervals);
  FDefaultS1 = defaultS1;
  FDefaultS2 = defaultS2;
  return true;
}

void TSpeedStorage::Changed() const {
  if (FChangeHook) FChangeHook();
}

}  // namespace kiv
