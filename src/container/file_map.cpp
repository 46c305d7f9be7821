#include "container/file_map.h"

#include "base/text.h"
#include "container/file_map_line.h"
#include "ini/ini_sections.h"

namespace kiv {

namespace {

// Calls visit with the text of every line of the section that carries text.
template <typename Visit>
void ForEachTextLine(const TIniSection* section, Visit visit) {
  if (!section) return;
  for (const TCommonIniItem* item = section->First(); item; item = item->Next())
    if (auto* line = dynamic_cast<const TIniTextLine*>(item)) visit(line->Text());
}

}  // namespace

void TFileMap::Load(const TIniSection* section) {
  ForEachTextLine(section, [this](std::u16string_view text) {
    if (std::optional<TFileMapLine> line = ParseFileMapLine(text)) Add(line->Name, line->Target);
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
    // ;"name"=n, possibly with blanks around it
    const size_t first = text.find_first_not_of(u" \t"), last = text.find_last_not_of(u" \t");
    if (first == std::u16string_view::npos) return;
    text = text.substr(first, last + 1 - first);
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
