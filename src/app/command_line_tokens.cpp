#include "app/command_line_tokens.h"

namespace kiv {

namespace {

// Codes up to the blank (tabs, line ends, other control characters) separate tokens.
bool IsSeparator(char16_t unit) { return unit <= u' '; }

}  // namespace

std::u16string CleanToken(std::u16string_view raw) {
  if (raw.starts_with(u'"')) raw.remove_prefix(1);
  if (raw.ends_with(u'"')) raw.remove_suffix(1);
  std::u16string token;
  for (char16_t unit : raw)
    if (unit != u'"') token += unit;
  return token;
}

std::vector<std::u16string> SplitCommandLine(std::u16string_view text) {
  std::vector<std::u16string> tokens;
  size_t pos = 0;
  while (true) {
    while (pos < text.size() && IsSeparator(text[pos])) ++pos;
    if (pos == text.size()) return tokens;
    const size_t start = pos;
    bool quoted = false;
    for (; pos < text.size() && (quoted || !IsSeparator(text[pos])); ++pos)
      if (text[pos] == u'"') quoted = !quoted;
    tokens.push_back(CleanToken(text.substr(start, pos - start)));
  }
}

}  // namespace kiv
