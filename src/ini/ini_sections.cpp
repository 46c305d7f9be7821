#include "ini/ini_sections.h"

namespace kiv {

// ---- TCommonIniSection

TCommonIniSection::TCommonIniSection(std::u16string text, int nameStart, int nameLength)
    : FText(std::move(text)), FNameStart(nameStart), FNameLength(nameLength) {}

void TCommonIniSection::SaveTo(IIniLineWriter& writer) const {
  writer.WriteLine(FText);
  TIniCollection::SaveTo(writer);
}

std::u16string TCommonIniSection::GetName() const { return FText.substr(FNameStart - 1, FNameLength); }

void TCommonIniSection::SetName(std::u16string_view name) {
  FText.replace(FNameStart - 1, FNameLength, name);
  FNameLength = int(name.size());
}

// ---- TIniObject

namespace {

int LeadingControlsAndBlanks(std::u16string_view text) {
  int count = 0;
  while (size_t(count) < text.size() && text[count] < 33) ++count;
  return count;
}

}  // namespace

TIniObject::TIniObject(std::u16string text, int nameStart, int nameLength, int valueStart)
    : TCommonIniSection(std::move(text), nameStart, nameLength),
      FValueStart(valueStart),
      FIndent(LeadingControlsAndBlanks(FText)) {}

void TIniObject::CloneInto(TIniCollection* parent) const {
  auto* copy = new TIniObject(FText, FNameStart, FNameLength, FValueStart);
  TCommonIniItem* endLine = parent->Last();
  if (dynamic_cast<TIniObject*>(parent) && IsPlainTextLine(endLine))
    parent->InsertItem(copy, endLine);
  else
    parent->AddItem(copy);
  copy->Assign(*this);
}

TIniIdent* TIniObject::FindOrAddIdentHere(std::u16string_view name) { return FindOrAddIdent(name, FIndent + 2); }

void TIniObject::SetName(std::u16string_view name) {
  const int oldLength = FNameLength;
  TCommonIniSection::SetName(name);
  FValueStart += FNameLength - oldLength;
}

TIniObject* TIniObject::NextObject() const {
  auto* list = dynamic_cast<TIniIdentList*>(Parent());
  return list ? list->NextObject(this) : nullptr;
}

std::u16string TIniObject::GetValue() const {
  const size_t start = size_t(FValueStart - 1);
  if (start >= FText.size()) return {};
  size_t end = FText.size();
  while (end > start && IsIniBlank(FText[end - 1])) --end;
  return FText.substr(start, end - start);
}

void TIniObject::SetValue(std::u16string_view value) {
  if (size_t(FValueStart - 1) < FText.size()) {
    FText.resize(FValueStart - 1);
  } else {
    size_t end = FText.size();
    while (end > 0 && IsIniBlank(FText[end - 1])) --end;
    const bool endsWithColon = end > 0 && FText[end - 1] == u':';
    if (!endsWithColon) FText += FNameLength > 0 ? u':' : u' ';
    FValueStart = int(FText.size()) + 1;
  }
  FText += value;
}

// ---- TIniSection

// Leaves the document here, while the item is still a section, so that the document
// drops it from its index and repairs its same-name chain.
TIniSection::~TIniSection() { LeaveParent(); }

void TIniSection::CloneInto(TIniCollection* parent) const {
  auto* copy = new TIniSection(FText, FNameStart, FNameLength);
  parent->AddItem(copy);
  copy->Assign(*this);
}

void TIniSection::SetName(std::u16string_view name) {
  if (name == GetName()) return;
  TCommonIniSection::SetName(name);
  TIniCollection* parent = Parent();
  if (parent) parent->RemoveItem(this);  // still under the old key
  FKey.clear();
  if (parent) parent->AddItem(this);
}

TIniObject* TIniSection::FirstObject() const {
  for (const TIniSection* s = FFirstSameName ? FFirstSameName : this; s; s = s->FNextSameName)
    if (TIniObject* object = s->TIniIdentList::FirstObject()) return object;
  return nullptr;
}

TIniObject* TIniSection::NextObject(const TCommonIniItem* item) const {
  if (TIniObject* object = TIniIdentList::NextObject(item)) return object;
  auto* holder = dynamic_cast<const TIniSection*>(item->Parent());
  for (const TIniSection* s = holder ? holder->FNextSameName : nullptr; s; s = s->FNextSameName)
    if (TIniObject* object = s->TIniIdentList::FirstObject()) return object;
  return nullptr;
}

void TIniSection::ReindexChain() {
  for (TIniSection* s = this; s; s = s->FNextSameName) s->ReindexOwnIdents();
}

void TIniSection::ReindexOwnIdents() {
  ClearIdentIndex();
  IndexChildIdents();
}

void TIniSection::ResetIndexState() {
  FNextInBucket = FNextSameName = FFirstSameName = nullptr;
  ClearIdentIndex();
}

}  // namespace kiv
