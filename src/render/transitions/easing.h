#pragma once
// The ease of the card effects: slow at both ends, fastest half way.

namespace kiv {

// 0 … 1 onto 0 … 1: 2p² up to half way, 1 − 2(1 − p)² after.
inline double Eased(double p) { return p < 0.5 ? 2 * p * p : 1 - 2 * (1 - p) * (1 - p); }

}  // namespace kiv
