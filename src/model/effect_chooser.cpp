#include "model/effect_chooser.h"

#include <numeric>
#include <utility>

namespace kiv {

namespace {

// Moves position to its neighbour (wrapping to 0) when its parity is not the wanted one.
uint32_t WithParity(uint32_t position, uint32_t count, bool wantOdd) {
  if (bool(position & 1) == wantOdd) return position;
  return position + 1 == count ? 0 : position + 1;
}

uint32_t Mixed(int slideIndex, uint32_t seed) { return uint32_t(slideIndex) ^ seed; }

}  // namespace

TEffectChooser::TEffectChooser(std::vector<TEffGroup> groups, IRandomSource& random)
    : FGroups(std::move(groups)), FRound(FGroups.size()), FRandom(random) {
  std::iota(FRound.begin(), FRound.end(), size_t(0));
}

void TEffectChooser::SetRepeatable(bool repeatable, uint32_t seed) {
  FRepeatable = repeatable;
  FSeed = seed;
}

TEffectChoice TEffectChooser::ChooseEffect(int slideIndex) {
  if (FGroups.empty()) return {};
  return FRepeatable ? ChooseRepeatably(slideIndex) : ChooseRandomly();
}

TEffectChoice TEffectChooser::ChooseRandomly() {
  const size_t position = size_t(FCounter % FRound.size());
  if (position == 0) ShuffleRound();
  ++FCounter;
  const TEffGroup& group = FGroups[FRound[position]];
  const uint32_t count = uint32_t(group.Types.size());
  // With the flag clear the odd positions are taken, with it set the even ones.
  const uint32_t typePosition = WithParity(FRandom.Random(count), count, !FAlternation);
  FAlternation = !FAlternation;
  return {group.Class, group.Types[typePosition]};
}

TEffectChoice TEffectChooser::ChooseRepeatably(int slideIndex) const {
  const TEffGroup& group = FGroups[uint32_t(slideIndex) % FGroups.size()];
  const uint32_t count = uint32_t(group.Types.size());
  const bool wantOdd = bool(uint32_t(slideIndex) & 1) != FAlternation;
  return {group.Class, group.Types[WithParity(Mixed(slideIndex, FSeed) % count, count, wantOdd)]};
}

void TEffectChooser::ShuffleRound() {
  FRandom.Reseed();
  const uint32_t count = uint32_t(FRound.size());
  for (uint32_t i = 0; i < count; ++i) std::swap(FRound[i], FRound[i + FRandom.Random(count - i)]);
}

int32_t TEffectChooser::RandomSeed(int slideIndex) {
  if (FRepeatable) return int32_t(Mixed(slideIndex, FSeed));
  const uint32_t high = FRandom.Random(4096);
  return int32_t(high * 4096 + FRandom.Random(4096));
}

bool TEffectChooser::RollVariantsFor(int slideIndex) {
  const uint32_t draw = FRepeatable ? Mixed(slideIndex, FSeed) % 1000 : FRandom.Random(1000);
  return (draw > 500) != FAlternation;
}

}  // namespace kiv
