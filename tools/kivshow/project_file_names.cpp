#include "kivshow/project_file_names.h"

#include <set>

#include "base/text.h"
#include "container/file_map_line.h"

namespace kiv {

namespace {

constexpr char16_t kFileMapSection[] = u"FileMap";

class TNameCollector {
 public:
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
        Add(TrimmedUnquoted(ident->GetValue()));
      }
    }
  }

  std::vector<std::u16string> Take() { return std::move(FNames); }

 private:
  void AddFileMapSides(std::u16string_view text) {
    if (std::optional<TFileMapLine> line = ParseFileMapLine(text)) {
      Add(std::move(line->Name));
      Add(std::move(line->Target));
    }
  }

  std::vector<std::u16string> FNames;
  std::set<std::u16string> FSeen;
};

}  // namespace

std::vector<std::u16string> ProjectFileNames(const TIniStorage& project) {
  TNameCollector collector;
  collector.CollectFrom(project, false);
  return collector.Take();
}

}  // namespace kiv
