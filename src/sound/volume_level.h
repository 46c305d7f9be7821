#pragma once
// Volumes as the output counts them: levels in hundredths of a decibel, -10000
// (silent) to 0 (full), mapped from and to the linear factors the program sets.
#include <cstdint>

namespace kiv {

constexpr int32_t kSilentLevel = -10000;

// -600 × log2(1 / factor), rounded and clamped; a factor ≤ 0 is silent.
int32_t LevelFromFactor(float factor);
// 2^(level / 600): 0 gives 1, the silent level 0.
float FactorFromLevel(int32_t level);
// The amplitude a level scales samples by when mixing: 10^(level / 2000); the silent
// level gives 0.
float AmplitudeFromLevel(int32_t level);

}  // namespace kiv
