#pragma once
// Inflating the payload of a graphics container.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kiv {

// The bytes of the raw deflate stream packed, or nothing when it is damaged, ends before
// its last block, or would inflate to more than limit bytes.
std::optional<std::vector<uint8_t>> InflatePayload(std::span<const uint8_t> packed, int64_t limit);

}  // namespace kiv
