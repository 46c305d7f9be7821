#include "ini/ini_storage.h"

#include "base/elf_hash.h"
#include "base/errors.h"
#include "base/text.h"

namespace kiv {

void TIniStorage::InsertItem(TCommonIniItem* item, TCommonIniItem* before) {
  TIniIdentList::InsertItem(item, before);
  if (auto* section = dynamic_cast<TIniSection*>(item)) IndexSection(section);
}

void TIniStorage::RemoveItem(TCommonIniItem* item) {
  if (auto* section = dynamic_cast<TIniSection*>(item)) DropSection(section);
  TIniIdentList::RemoveItem(item);
}

void TIniStorage::Clear() {
  // Dissolve every chain at once, so that the sections do not repair them one by one.
  for (TCommonIniItem* item = First(); item; item = item->Next())
    if (auto* section = dynamic_cast<TIniSection*>(item)) section->ResetIndexState();
  FSectionIndex.clear();
  TIniIdentList::Clear();
}

void TIniStorage::CloneInto(TIniCollection*) const { KIV_FAIL("Method not applicable"); }

TIniSection* TIniStorage::FindIndexedSection(const std::u16string& key, uint32_t bucket) const {
  if (FSectionIndex.size() <= bucket) return nullptr;
  for (TIniSection* section = FSectionIndex[bucket]; section; section = section->FNextInBucket)
    if (section->FKey == key) return section;
  return nullptr;
}

void TIniStorage::IndexSection(TIniSection* section) {
  if (section->FKey.empty()) {
    section->FKey = LowerCase(section->GetName());
    section->FBucket = ElfHash(section->FKey) % kSectionBuckets;
  }
  if (TIniSection* first = FindIndexedSection(section->FKey, section->FBucket)) {
    TIniSection* tail = first;
    while (tail->FNextSameName) tail = tail->FNextSameName;
    tail->FNextSameName = section;
    section->FFirstSameName = first;
    section->ReindexOwnIdents();
    return;
  }
  if (FSectionIndex.size() <= section->FBucket) FSectionIndex.resize(section->FBucket + 1);
  section->FNextInBucket = FSectionIndex[section->FBucket];
  FSectionIndex[section->FBucket] = section;
}

void TIniStorage::DropSection(TIniSection* section) {
  TIniSection* first = section->FFirstSameName;  // the chain's first once section is out
  if (first) {
    TIniSection* before = first;
    while (before->FNextSameName != section) before = before->FNextSameName;
    before->FNextSameName = section->FNextSameName;
  } else {
    if (FSectionIndex.size() <= section->FBucket) return;  // not indexed
    TIniSection** link = &FSectionIndex[section->FBucket];
    while (*link && *link != section) link = &(*link)->FNextInBucket;
    if (!*link) return;
    first = section->FNextSameName;
    if (first) {
      first->FNextInBucket = section->FNextInBucket;
      *link = first;
      for (TIniSection* s = first; s; s = s->FNextSameName) s->FFirstSameName = s == first ? nullptr : first;
    } else {
      *link = section->FNextInBucket;
    }
  }
  section->ResetIndexState();
  section->ReindexOwnIdents();
  if (first) first->ReindexChain();
}

// The item that writes the document's last line: a section's last child, not the section.
const TCommonIniItem* TIniStorage::LastLine() const {
  const TCommonIniItem* item = Last();
  while (auto* collection = dynamic_cast<const TIniCollection*>(item)) {
    if (!collection->Last()) break;
    item = collection->Last();
  }
  return item;
}

TIniSection* TIniStorage::FindSection(std::u16string_view name) const {
  const std::u16string key = LowerCase(name);
  return FindIndexedSection(key, ElfHash(key) % kSectionBuckets);
}

TIniSection* TIniStorage::FindOrAddSection(std::u16string_view name) {
  if (TIniSection* found = FindSection(name)) return found;
  if (Last() && !IsBlankLine(LastLine())) AddItem(new TIniEmptyLine);
  std::u16string header = u"[";
  header += name;
  header += u']';
  auto* section = new TIniSection(std::move(header), 2, int(name.size()));
  AddItem(section);
  return section;
}

std::u16string TIniStorage::ReadString(std::u16string_view section, std::u16string_view name,
                                       std::u16string_view def) const {
  const TIniSection* found = FindSection(section);
  return found ? found->ReadString(name, def) : std::u16string(def);
}

int32_t TIniStorage::ReadInteger(std::u16string_view section, std::u16string_view name, int32_t def) const {
  const TIniSection* found = FindSection(section);
  return found ? found->ReadInteger(name, def) : def;
}

double TIniStorage::ReadFloat(std::u16string_view section, std::u16string_view name, double def) const {
  const TIniSection* found = FindSection(section);
  return found ? found->ReadFloat(name, def) : def;
}

bool TIniStorage::ReadBool(std::u16string_view section, std::u16string_view name, bool def) const {
  return ReadInteger(section, name, def ? 1 : 0) != 0;
}

void TIniStorage::WriteString(std::u16string_view section, std::u16string_view name, std::u16string_view value) {
  TIniSection* found = FindOrAddSection(section);
  KIV_ASSERT(found);
  found->WriteString(name, value);
}

void TIniStorage::WriteInteger(std::u16string_view section, std::u16string_view name, int32_t value) {
  WriteString(section, name, IntToText(value));
}

void TIniStorage::GetSectionNames(std::vector<std::u16string>& names) const {
  for (const TCommonIniItem* item = First(); item; item = item->Next())
    if (auto* section = dynamic_cast<const TIniSection*>(item)) names.push_back(section->GetName());
}

}  // namespace kiv
