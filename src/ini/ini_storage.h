#pragma once
// An INI document: sections (and any idents, objects, comments and lines before the
// first section) in document order, with a case-insensitive section index.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ini/ini_sections.h"

namespace kiv {

class TIniStorage : public TIniIdentList {
 public:
  static constexpr uint32_t kSectionBuckets = 9973;

  void InsertItem(TCommonIniItem* item, TCommonIniItem* before) override;  // indexes sections
  // Removing a section of a same-named chain removes just that one; the others stay
  // indexed (the next one becomes the first when the first goes).
  void RemoveItem(TCommonIniItem* item) override;
  void Clear() override;
  // A document cannot be copied into another collection: fails with "Method not applicable".
  void CloneInto(TIniCollection* parent) const override;

  void IndexSection(TIniSection* section);

  // The first section of that name (ignoring case); through it the idents and objects of
  // later sections of the same name are found too.
  TIniSection* FindSection(std::u16string_view name) const;
  // FindSection, else appends a blank line (unless the document's last line is blank) and "[name]".
  TIniSection* FindOrAddSection(std::u16string_view name);
  bool SectionExists(std::u16string_view name) const { return FindSection(name) != nullptr; }

  // Read from a section: def when the section or the ident is absent or the value is
  // not accepted.
  std::u16string ReadString(std::u16string_view section, std::u16string_view name, std::u16string_view def) const;
  int32_t ReadInteger(std::u16string_view section, std::u16string_view name, int32_t def) const;
  double ReadFloat(std::u16string_view section, std::u16string_view name, double def) const;
  // The integer rule; non-zero is true.
  bool ReadBool(std::u16string_view section, std::u16string_view name, bool def) const;

  void WriteString(std::u16string_view section, std::u16string_view name, std::u16string_view value);
  void WriteInteger(std::u16string_view section, std::u16string_view name, int32_t value);

  // Appends the name of every section in document order; repeated names repeat.
  void GetSectionNames(std::vector<std::u16string>& names) const;

 private:
  const TCommonIniItem* LastLine() const;
  TIniSection* FindIndexedSection(const std::u16string& key, uint32_t bucket) const;
  void DropSection(TIniSection* section);

  std::vector<TIniSection*> FSectionIndex;  // bucket heads; grows on first use of a bucket
};

}  // namespace kiv
