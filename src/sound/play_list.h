#pragma once
// A list of sounds played one after another: file names or composite texts, each with
// its start on the list's time line and its length.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// A uniform integer in [0, n).
using TRandomDraw = std::function<uint32_t(uint32_t n)>;

struct TMusicItemInfo {
  std::u16string Name;      // a file of the show or a composite text
  double Start = 0;         // ms on the list's time line
  double BeginOffset = 0;   // ms into the sound
  double Length = 0;        // ms
};

class TPlayList {
 public:
  // Appends name at the current total length; answers its index.
  int Add(std::u16string_view name, double lengthMs);
  int Count() const { return int(FItems.size()); }
  // The largest start + length.
  double TotalLength() const { return FTotalLength; }
  bool Repeat = false;

  // Entry index (>= 0), wrapping: past the end the list starts again, its start raised
  // by the whole list's length per round. An empty list answers an empty entry.
  TMusicItemInfo ItemAt(int index) const;
  // Clears the list and appends max(1, rounds) random permutations of source's entries
  // (each entry keyed by a draw of 0..999999, sorted by key).
  void FillShuffled(const TPlayList& source, int rounds, const TRandomDraw& random);
  void Clear();

 private:
  std::vector<TMusicItemInfo> FItems;
  double FTotalLength = 0;
};

}  // namespace kiv
