#include "container/file_map.h"

#include "base/text.h"
#include "ini/ini_sections.h"

namespace kiv {

namespace {

std::u16string_view Trimmed(std::u16string_view text) {
  auto blank = [](char16_t unit) { return unit <= u' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string_view Unquoted(std::u16string_view text) {
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') return text.substr(1, text.size() - 2);
  return text;
}

// Calls visit with the text of every line of the section that carries text.
template <typename Visit>
void ForEachTextLine(const TIniSection* section, Visit visit) {
  if (!section) return;
  for (const TCommonIniItem* item = section->First(); item; item = item->Next())
    if (auto* line = dynamic_cast<const TIniTextLine*>(item)) visit(line->Text());
}

}  // namespace

bool ParseFileMapLine(std::u16string_view line, std::u16string& name, std::u16string& target) {
  line = Trimmed(line);
  if (!line.empty() && line.front() == u';') line.remove_prefix(1);
  bool quoted = false;
  size_t split = std::u16string_view::npos;
  for (size_t i = 0; i < line.size() && split == std::u16string_view::npos; ++i) {
    if (line[i] == u'"') quoted = !quoted;
    if (line[i] == u'=' && !quoted) split = i;
  }
  if (split == std::u16string_view::npos) return false;
  name = Unquoted(Trimmed(line.substr(0, split)));
  target = Unquoted(Trimmed(line.substr(split + 1)));
  return !name.empty() && !target.empty();
}

void TFileMap::Load(const TIniSection* section) {
  ForEachTextLine(section, [this](std::u16string_view text) {
    std::u16string name, target;
    if (ParseFileMapLine(text, name, target)) Add(name, target);
  });
}

void TFileMap::Add(std::u16string_view name, std::u16string_view target) {
  FTargets[LowerCase(name)].emplace_back(target);
}

const std::u16string* TFileMap::Target(std::u16string_view name) const {
  auto found = FTargets.find(LowerCase(name));
  return found == FTargets.end() ? nullptr : &found->second.front();
}

void TRotationTable::Load(const TIniSection* section) {
  ForEachTextLine(section, [this](std::u16string_view text) {
    text = Trimmed(text);
    // ;"name"=n
    if (text.size() < 6 || text[0] != u';' || text[1] != u'"') return;
    const size_t close = text.rfind(u"\"=");
    if (close == std::u16string_view::npos || close < 3 || close + 3 != text.size()) return;
    const char16_t digit = text.back();
    if (digit != u'1' && digit != u'3' && digit != u'6' && digit != u'8') return;
    FOrientations[LowerCase(text.substr(2, close - 2))] = digit - u'0';
  });
}

int TRotationTable::Orientation(std::u16string_view name) const {
  auto found = FOrientations.find(LowerCase(name));
  return found == FOrientations.end() ? 1 : found->second;
}

}  // namespace kiv
