#include "ini/ini_ident_list.h"

#include "base/elf_hash.h"
#include "base/errors.h"
#include "base/text.h"
#include "ini/ini_sections.h"

namespace kiv {

void TIniIdentList::InsertItem(TCommonIniItem* item, TCommonIniItem* before) {
  TIniCollection::InsertItem(item, before);
  if (auto* ident = dynamic_cast<TIniIdent*>(item)) IndexIdent(ident);
}

void TIniIdentList::RemoveItem(TCommonIniItem* item) {
  if (auto* ident = dynamic_cast<TIniIdent*>(item)) DropIdent(ident);
  TIniCollection::RemoveItem(item);
}

void TIniIdentList::Clear() {
  TIniCollection::Clear();
  FIdentIndex.clear();
}

void TIniIdentList::IndexIdent(TIniIdent* ident) {
  if (ident->FKey.empty()) {
    ident->FKey = LowerCase(ident->GetName());
    ident->FBucket = ElfHash(ident->FKey) % kIdentBuckets;
  }
  std::vector<TIniIdent*>& index = IndexOwner()->FIdentIndex;
  if (index.size() <= ident->FBucket) index.resize(ident->FBucket + 1);
  ident->FNextInBucket = index[ident->FBucket];
  index[ident->FBucket] = ident;
}

void TIniIdentList::DropIdent(TIniIdent* ident) {
  std::vector<TIniIdent*>& index = IndexOwner()->FIdentIndex;
  if (index.size() <= ident->FBucket) return;
  for (TIniIdent** link = &index[ident->FBucket]; *link; link = &(*link)->FNextInBucket) {
    if (*link == ident) {
      *link = ident->FNextInBucket;
      ident->FNextInBucket = nullptr;
      return;
    }
  }
}

void TIniIdentList::IndexChildIdents() {
  for (TCommonIniItem* item = First(); item; item = item->Next())
    if (auto* ident = dynamic_cast<TIniIdent*>(item)) IndexIdent(ident);
}

TIniIdent* TIniIdentList::FindIdent(std::u16string_view name) const {
  const std::u16string key = LowerCase(name);
  const uint32_t bucket = ElfHash(key) % kIdentBuckets;
  const std::vector<TIniIdent*>& index = IndexOwner()->FIdentIndex;
  if (index.size() <= bucket) return nullptr;
  for (TIniIdent* ident = index[bucket]; ident; ident = ident->FNextInBucket)
    if (ident->FKey == key) return ident;
  return nullptr;
}

TIniIdent* TIniIdentList::FindOrAddIdent(std::u16string_view name, int indent) {
  if (TIniIdent* found = FindIdent(name)) return found;
  std::u16string line(size_t(indent), u' ');
  line += name;
  line += u'=';
  const int nameLength = int(name.size());
  auto* ident = new TIniIdent(std::move(line), indent + 1, nameLength, indent + nameLength + 2);
  TCommonIniItem* lastIdent = Last();
  while (lastIdent && !dynamic_cast<TIniIdent*>(lastIdent)) lastIdent = lastIdent->Prev();
  InsertItem(ident, lastIdent ? lastIdent->Next() : First());
  return ident;
}

TIniObject* TIniIdentList::FirstObject() const {
  for (TCommonIniItem* item = First(); item; item = item->Next())
    if (auto* object = dynamic_cast<TIniObject*>(item)) return object;
  return nullptr;
}

TIniObject* TIniIdentList::NextObject(const TCommonIniItem* item) const {
  for (TCommonIniItem* next = item->Next(); next; next = next->Next())
    if (auto* object = dynamic_cast<TIniObject*>(next)) return object;
  return nullptr;
}

void TIniIdentList::WriteString(std::u16string_view name, std::u16string_view value) {
  TIniIdent* ident = FindOrAddIdentHere(name);
  KIV_ASSERT(ident);
  ident->SetValue(value);
}

}  // namespace kiv
