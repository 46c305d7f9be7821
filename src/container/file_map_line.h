#pragma once
// A line of a project's "FileMap" section maps a name the project uses to the file
// that stands for it: name=target, either side optionally in double quotes.
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

struct TFileMapLine {
  std::u16string Name;
  std::u16string Target;
};

// A leading ";" is skipped; the line is split at the first "=" outside double quotes;
// both sides are trimmed of blanks and lose one pair of surrounding double quotes.
// None when there is no such "=" or a side is left empty.
std::optional<TFileMapLine> ParseFileMapLine(std::u16string_view line);

// The text without blanks around it and without one pair of double quotes around that.
std::u16string TrimmedUnquoted(std::u16string_view text);

}  // namespace kiv
