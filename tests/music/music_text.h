#pragma once
// Music objects and shows written as project text, and composite texts read back into
// rows that tests compare.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "sound/composite_params.h"

namespace kiv {

// An object of class cls; keys are "name=value" separated by ";".
inline std::string Obj(const std::string& cls, std::string keys = "", const std::string& children = "") {
  for (char& c : keys)
    if (c == ';') c = '\n';
  return "object O: " + cls + "\n" + keys + (keys.empty() ? "" : "\n") + children + "end\n";
}
inline std::string Item(const std::string& file, const std::string& keys) {
  return Obj("tmusicitem", "FileName=" + file + ";" + keys);
}
inline std::string Track(const std::string& items, const std::string& keys = "") {
  return Obj("tmusictrack", keys, items);
}
inline std::string Music(const std::string& children) { return Obj("music", "", children); }

// A show with slides ending at the given times, the keys of section "main" and the text
// of each slide section.
inline std::string Show(const std::vector<int>& ends, const std::string& mainText,
                        const std::vector<std::string>& slides = {}) {
  std::string text = "[main]\nopt_slidescount=" + std::to_string(ends.size()) + "\n";
  for (size_t i = 0; i < ends.size(); ++i)
    text += "opt_synchpos" + std::to_string(i + 1) + "=" + std::to_string(ends[i]) + "\n";
  text += mainText + "\n";
  for (size_t i = 0; i < slides.size(); ++i) text += "[Slide" + std::to_string(i + 1) + "]\n" + slides[i] + "\n";
  return text;
}

// One item of a composite: file, TimeLine, BeginTime, Duration.
struct TItemRow {
  std::string File;
  int32_t TimeLine, BeginTime, Duration;
  bool operator==(const TItemRow&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const TItemRow& row) {
  return out << row.File << "@" << row.TimeLine << "+" << row.BeginTime << "/" << row.Duration;
}
using TPoints = std::vector<std::pair<int32_t, int32_t>>;

struct TCompositeRows {
  int32_t Duration = 0;
  std::vector<TItemRow> Items;
  std::vector<std::vector<TPoints>> Envelopes;  // per item
};

inline TCompositeRows RowsOf(std::u16string_view text) {
  TCompositeParams composite;
  EXPECT_TRUE(composite.FromText(text));
  TCompositeRows rows{composite.Duration, {}, {}};
  for (const TCompositeItem& item : composite.Items) {
    rows.Items.push_back({Utf16ToUtf8(item.FileName), item.TimeLine, item.BeginTime, item.Duration});
    rows.Envelopes.emplace_back();
    for (size_t j = 0; j < item.Envelopes.Count(); ++j) {
      rows.Envelopes.back().emplace_back();
      for (const TVolumeItem& point : item.Envelopes[j].Points())
        rows.Envelopes.back().back().emplace_back(point.Time, point.Volume);
    }
  }
  return rows;
}

}  // namespace kiv
