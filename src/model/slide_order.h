#pragma once
// The order in which a show's slides are played, and the section of the slide shown at
// each position. One order exists per project path for the life of the process, so
// every thread and every reopening of the same project sees the same order.
#include <string>
#include <vector>

#include "ini/ini_storage.h"
#include "model/random_source.h"

namespace kiv {

class TSlideRandomList {
 public:
  // The slides 0 … count-1 in order, shuffled when shuffle is set.
  TSlideRandomList(int count, bool shuffle, IRandomSource& random);

  // The 0-based slide number shown at position (position >= 0). Positions past the
  // list are played in their own order, as if the list were extended with identity
  // entries; they are answered without being stored.
  int SlideNumber(int position) const;
  int Count() const { return int(FSlides.size()); }

 private:
  void Shuffle(IRandomSource& random);

  std::vector<int> FSlides;
};

// The 0-based slide number shown at position index (>= 0) of the document's show: from
// the process-wide list of its "ProjectFilePath" (created on first use from "main"),
// or index itself when the project names no path.
int SlideNumberAt(const TIniStorage& document, int index);

// The section "Slide" + (number + 1) of the slide shown at position index, or none
// (also for a negative index).
TIniSection* SlideSection(const TIniStorage& document, int index);

}  // namespace kiv
