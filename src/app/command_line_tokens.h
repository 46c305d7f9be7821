#pragma once
// Splitting a command-line text into tokens. Blanks and control characters separate
// tokens except inside double quotes; the quotes themselves never reach a token.
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// The text of one raw token: one leading and one trailing double quote go, then every
// remaining one, so "a b" gives a b and a"b"c gives abc.
std::u16string CleanToken(std::u16string_view raw);

// Every token of a whole command-line text, in order, each already cleaned.
std::vector<std::u16string> SplitCommandLine(std::u16string_view text);

}  // namespace kiv
