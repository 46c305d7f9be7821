#pragma once
// Picks the transition of each slide change from the show's catalogue. Normally the
// choice is random: every class that takes part comes once per round, in a new order
// each round, and successive choices alternate between odd and even positions of the
// class's type list. In the repeatable mode the same slide always gets the same choice.
#include <cstdint>
#include <vector>

#include "model/effect_options.h"
#include "model/random_source.h"

namespace kiv {

// A class of the transition catalogue with a type of it.
struct TEffectChoice {
  int Class = 0;  // 0: no transition
  int Type = 0;
  bool operator==(const TEffectChoice&) const = default;
};

class TEffectChooser {
 public:
  TEffectChooser(std::vector<TEffGroup> groups, IRandomSource& random);

  // Repeatable choices derive from the slide index and seed instead of chance.
  void SetRepeatable(bool repeatable, uint32_t seed);
  bool Repeatable() const { return FRepeatable; }
  uint32_t Seed() const { return FSeed; }
  // False at the start of the show, flipped after every random choice.
  bool Alternation() const { return FAlternation; }

  // Class and type for the transition into the slide; class 0, type 0 when no class takes part.
  TEffectChoice ChooseEffect(int slideIndex);
  // The seed of the parameter record: 24 random bits, or slide index xor seed when repeatable.
  int32_t RandomSeed(int slideIndex);
  // The roll-variants flag of a show that decides it per slide.
  bool RollVariantsFor(int slideIndex);

 private:
  TEffectChoice ChooseRandomly();
  TEffectChoice ChooseRepeatably(int slideIndex) const;
  // Fisher–Yates over the round order, from a freshly seeded generator.
  void ShuffleRound();

  std::vector<TEffGroup> FGroups;  // key order
  std::vector<size_t> FRound;      // indexes into FGroups in this round's order
  IRandomSource& FRandom;
  uint64_t FCounter = 0;  // random choices made so far
  bool FAlternation = false;
  bool FRepeatable = false;
  uint32_t FSeed = 0;
};

}  // namespace kiv
