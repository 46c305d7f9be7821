#pragma once
// Calendar time in the user's time zone.
#include <ctime>

namespace kiv {

// The broken-down local time of seconds since the epoch (thread-safe).
std::tm LocalTimeOf(std::time_t seconds);

}  // namespace kiv
