#pragma once
// Random identifiers for built shows and temporary folders.
#include <string>

namespace kiv {

// A new random (version 4) identifier as upper-case hexadecimal in braces with
// dashes: "{8-4-4-4-12}".
std::u16string NewGuidText();

}  // namespace kiv
