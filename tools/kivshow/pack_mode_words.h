#pragma once
// The words the tool uses for pack modes, on its command line and in listings.
#include <optional>
#include <string>
#include <string_view>

#include "container/container_format.h"

namespace kiv {

// "stored", "deflated", "enciphered"; "mode " + number for a value no writer makes.
std::string PackModeWord(TPackMode mode);
// The mode a word names exactly, or none.
std::optional<TPackMode> PackModeOfWord(std::string_view word);

}  // namespace kiv
