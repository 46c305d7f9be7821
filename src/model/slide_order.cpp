#include "model/slide_order.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

#include "base/text.h"
#include "model/show_main.h"

namespace kiv {

namespace {

constexpr uint32_t kShuffleKeyRange = 1000000;

struct TSlideOrderTable {
  std::mutex Lock;
  std::map<std::u16string, TSlideRandomList> Lists;  // by project path
};

TSlideOrderTable& SlideOrderTable() {
  static TSlideOrderTable table;
  return table;
}

}  // namespace

TSlideRandomList::TSlideRandomList(int count, bool shuffle, IRandomSource& random) {
  FSlides.resize(size_t(std::max(count, 0)));
  for (size_t i = 0; i < FSlides.size(); ++i) FSlides[i] = int(i);
  if (shuffle) Shuffle(random);
}

// Every slide gets a random key and the slides are sorted by key with a selection sort
// that moves the largest key of the unsorted part to its end. The search starts at
// position 0 and takes any later key at least as large, so of equal keys the one
// nearest the end moves, and position 0 moves only when it holds the largest key alone.
void TSlideRandomList::Shuffle(IRandomSource& random) {
  random.Reseed();
  std::vector<uint32_t> keys(FSlides.size());
  for (uint32_t& key : keys) key = random.Random(kShuffleKeyRange);
  for (size_t end = FSlides.size(); end-- > 1;) {
    size_t largest = 0;
    for (size_t i = 1; i <= end; ++i)
      if (keys[i] >= keys[largest]) largest = i;
    std::swap(keys[largest], keys[end]);
    std::swap(FSlides[largest], FSlides[end]);
  }
}

int TSlideRandomList::SlideNumber(int position) const {
  return position < Count() ? FSlides[size_t(position)] : position;
}

int SlideNumberAt(const TIniStorage& document, int index) {
  const TIniSection* main = FindMainSection(document);
  const std::u16string path = main ? main->ReadString(u"ProjectFilePath", u"") : std::u16string();
  if (path.empty()) return index;

  TSlideOrderTable& table = SlideOrderTable();
  std::lock_guard lock(table.Lock);
  auto found = table.Lists.find(path);
  if (found == table.Lists.end()) {
    TSlideRandomList list(ReadSlideCount(*main), main->ReadBool(u"opt_random", false), RandomSource());
    found = table.Lists.emplace(path, std::move(list)).first;
  }
  return found->second.SlideNumber(index);
}

TIniSection* SlideSection(const TIniStorage& document, int index) {
  if (index < 0) return nullptr;
  return document.FindSection(u"Slide" + IntToText(int64_t(SlideNumberAt(document, index)) + 1));
}

}  // namespace kiv
