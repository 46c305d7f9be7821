#pragma once
// The text conversions the font layer needs: family names go to the font configuration
// as UTF-8 and come back from it as UTF-8; a line is shaped as Unicode code points.
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// The code points of UTF-16 text; a lone surrogate becomes U+FFFD.
std::vector<char32_t> FontCodePoints(std::u16string_view text);
// UTF-16 to UTF-8 (a lone surrogate becomes U+FFFD) and back (a malformed byte becomes
// U+FFFD).
std::string FontUtf8(std::u16string_view text);
std::u16string FontUtf16(std::string_view text);

}  // namespace kiv
