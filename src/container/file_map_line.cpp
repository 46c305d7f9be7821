#include "container/file_map_line.h"

#include "ini/ini_items.h"

namespace kiv {

std::u16string TrimmedUnquoted(std::u16string_view text) {
  while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsIniBlank(text.back())) text.remove_suffix(1);
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') text = text.substr(1, text.size() - 2);
  return std::u16string(text);
}

std::optional<TFileMapLine> ParseFileMapLine(std::u16string_view line) {
  while (!line.empty() && IsIniBlank(line.front())) line.remove_prefix(1);
  if (!line.empty() && line.front() == u';') line.remove_prefix(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == u'"') {
      quoted = !quoted;
    } else if (line[i] == u'=' && !quoted) {
      TFileMapLine parsed{TrimmedUnquoted(line.substr(0, i)), TrimmedUnquoted(line.substr(i + 1))};
      if (parsed.Name.empty() || parsed.Target.empty()) return std::nullopt;
      return parsed;
    }
  }
  return std::nullopt;
}

}  // namespace kiv
