#pragma once
// A playlist played as one sound. Its entries are decoded one after another into the mix
// format and joined sample for sample, so that the next entry begins on the frame where
// the previous one ends and a repeating list wraps without a gap. A chain travels
// through the sound output as a channel name of its own (ChainName); the sound source
// that ChainingSoundSource makes opens such names and passes every other name on.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sound/play_list.h"
#include "sound/sound_source.h"

namespace kiv {

// An entry of a chain: an entry of the playlist it comes from, its start on the chain's
// time line.
using TChainEntry = TMusicItemInfo;

struct TSoundChain {
  std::vector<TChainEntry> Entries;  // one round, in order
  double RoundLength = 0;            // ms; a repeating chain starts again after it
  bool Repeat = false;

  // The chain of list (one round of it).
  static TSoundChain FromPlayList(const TPlayList& list);
  // True when the chain repeats and has something to repeat.
  bool Endless() const;
  // Entry index (>= 0), wrapping when the chain repeats; index must be below the count
  // otherwise.
  TChainEntry At(int64_t index) const;
  // ms; for an endless chain the longest a media length can say.
  double Length() const;
};

// Frames of the mix format in ms (MixBytes in frames); 0 for no time or less.
int64_t MixFrames(double ms);

bool IsChainName(std::u16string_view name);
std::u16string ChainName(const TSoundChain& chain);
// None when name is no chain or is malformed.
std::optional<TSoundChain> ParseChainName(std::u16string_view name);

// inner, with chain names played as their entries' sounds joined (each entry opened
// through inner when the chain reaches it).
TSoundSource ChainingSoundSource(TSoundSource inner);

}  // namespace kiv
