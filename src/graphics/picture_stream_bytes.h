#pragma once
// Reading helpers for loaders that sniff a signature and then keep the whole encoded
// picture in memory.
#include <cstdint>
#include <span>
#include <vector>

#include "base/stream.h"

namespace kiv {

// Whether the stream continues with signature; the position is left unchanged.
bool StreamStartsWith(TStream& stream, std::span<const uint8_t> signature);

// Everything from the stream's position to its end.
std::vector<uint8_t> ReadRemainingBytes(TStream& stream);

}  // namespace kiv
