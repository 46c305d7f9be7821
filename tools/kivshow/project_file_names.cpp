#include "kivshow/project_file_names.h"

#include <set>

#include "base/text.h"
#include "container/file_map_line.h"

namespace kiv {

namespace {

constexpr char16_t kFileMapSection[] = u"FileMap";

class TNameCollector {
 public:
  // Only the values of these idents (ignoring case) when given.
  explicit TNameCollector(std::vector<std::u16string_view> keys = {}) : FKeys(std::move(keys)) {}

  void Add(std::u16string name) {
    if (!name.empty() && FSeen.insert(name).second) FNames.push_back(std::move(name));
  }

  // Walks the children of a collection; inside "FileMap" every line (comments too,
  // since a mapping may be kept behind ";") gives both of its sides.
  void CollectFrom(const TIniCollection& list, bool inFileMap) {
    for (const TCommonIniItem* item = list.First(); item; item = item->Next()) {
      if (auto* section = dynamic_cast<const TIniSection*>(item)) {
        CollectFrom(*section, SameTextIgnoringCase(section->GetName(), kFileMapSection));
      } else if (auto* object = dynamic_cast<const TIniObject*>(item)) {
        CollectFrom(*object, false);
      } else if (inFileMap) {
        if (auto* line = dynamic_cast<const TIniTextLine*>(item)) AddFileMapSides(line->Text());
      } else if (auto* ident = dynamic_cast<const TIniIdent*>(item)) {
        if (Wanted(ident->GetName())) Add(TrimmedUnquoted(ident->GetValue()));
      }
    }
  }

  std::vector<std::u16string> Take() { return std::move(FNames); }

 private:
  bool Wanted(std::u16string_view key) const {
    if (FKeys.empty()) return true;
    for (std::u16string_view wanted : FKeys)
      if (SameTextIgnoringCase(key, wanted)) return true;
    return false;
  }
  void AddFileMapSides(std::u16string_view text) {
    if (!FKeys.empty()) return;
    if (std::optional<TFileMapLine> line = ParseFileMapLine(text)) {
      Add(std::move(line->Name));
      Add(std::move(line->Target));
    }
  }

  std::vector<std::u16string_view> FKeys;
  std::vector<std::u16string> FNames;
  std::set<std::u16string> FSeen;
};

}  // namespace

std::vector<std::u16string> ProjectFileNames(const TIniStorage& project) {
  TNameCollector collector;
  collector.CollectFrom(project, false);
  return collector.Take();
}

std::vector<std::u16string> ProjectMediaFiles(const TIniStorage& project) {
  TNameCollector collector({u"ImageName", u"Sound", u"FileName"});
  collector.CollectFrom(project, false);
  std::vector<std::u16string> files;
  for (std::u16string& name : collector.Take()) {
    if (name.starts_with(u"{") || name.starts_with(u"PresetedMask: ") || SameTextIgnoringCase(std::u16string_view(name).substr(0, 13), u"LoadFromDisk:"))
      continue;  // a mixed sound's description, a drawn mask, a file beside the show
    if (const size_t mark = name.rfind(u'?'); mark != std::u16string::npos) name.resize(mark);  // "file?stream"
    if (!name.empty()) files.push_back(std::move(name));
  }
  return files;
}

std::vector<std::u16string> ProjectButtonThemes(const TIniStorage& project) {
  TNameCollector collector({u"Theme"});
  collector.CollectFrom(project, false);
  return collector.Take();
}

}  // namespace kiv
