#include "sound/play_list.h"

#include <algorithm>

namespace kiv {

int TPlayList::Add(std::u16string_view name, double lengthMs) {
  TMusicItemInfo& item = FItems.emplace_back();
  item.Name = name;
  item.Start = FTotalLength;
  item.Length = lengthMs;
  FTotalLength = std::max(FTotalLength, item.Start + item.Length);
  return int(FItems.size()) - 1;
}

TMusicItemInfo TPlayList::ItemAt(int index) const {
  if (FItems.empty() || index < 0) return {};
  const int count = int(FItems.size());
  TMusicItemInfo item = FItems[size_t(index % count)];
  item.Start += double(index / count) * FTotalLength;
  return item;
}

void TPlayList::FillShuffled(const TPlayList& source, int rounds, const TRandomDraw& random) {
  // The source may be this list itself.
  const std::vector<TMusicItemInfo> entries = source.FItems;
  Clear();
  for (int round = 0; round < std::max(1, rounds); ++round) {
    std::vector<std::pair<uint32_t, size_t>> keyed;
    keyed.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) keyed.emplace_back(random(1000000) % 1000000, i);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [key, i] : keyed) {
      FItems[size_t(Add(entries[i].Name, entries[i].Length))].BeginOffset = entries[i].BeginOffset;
    }
  }
}

void TPlayList::Clear() {
  FItems.clear();
  FTotalLength = 0;
}

}  // namespace kiv
