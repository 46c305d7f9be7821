#pragma once
// The system's number for the calling thread, as log lines tag their writer.
#include <cstdint>

namespace kiv {

uint32_t CurrentThreadId();

}  // namespace kiv
