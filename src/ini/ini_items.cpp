#include "ini/ini_items.h"

#include <algorithm>
#include <typeinfo>

#include "base/errors.h"

namespace kiv {

TCommonIniItem::~TCommonIniItem() { LeaveParent(); }

void TCommonIniItem::LeaveParent() {
  if (FParent) FParent->RemoveItem(this);
}

void TCommonIniItem::SetParent(TIniCollection* list) {
  LeaveParent();
  if (list) list->AddItem(this);
}

bool IsBlankLine(const TCommonIniItem* item) { return item && typeid(*item) == typeid(TIniEmptyLine); }

bool IsPlainTextLine(const TCommonIniItem* item) { return item && typeid(*item) == typeid(TIniTextLine); }

// ---- leaves

void TIniEmptyLine::AddItem(TCommonIniItem*) { KIV_FAIL(std::string(ClassName()) + " cann`t has subitems"); }

void TIniEmptyLine::RemoveItem(TCommonIniItem*) { KIV_FAIL(std::string(ClassName()) + " cann`t has subitems"); }

void TIniEmptyLine::SaveTo(IIniLineWriter& writer) const { writer.WriteEmptyLine(); }

void TIniEmptyLine::CloneInto(TIniCollection* parent) const { parent->AddItem(new TIniEmptyLine); }

void TIniTextLine::SaveTo(IIniLineWriter& writer) const { writer.WriteLine(FText); }

void TIniTextLine::CloneInto(TIniCollection* parent) const { parent->AddItem(new TIniTextLine(FText)); }

void TIniComment::CloneInto(TIniCollection* parent) const {
  parent->AddItem(new TIniComment(FText, FCommentPos));
}

TIniIdent::TIniIdent(std::u16string text, int nameStart, int nameLength, int valueStart)
    : TIniTextLine(std::move(text)), FNameStart(nameStart), FNameLength(nameLength), FValueStart(valueStart) {}

// Leaves the list here, while the item is still an ident, so the list drops it from its index.
TIniIdent::~TIniIdent() { LeaveParent(); }

void TIniIdent::CloneInto(TIniCollection* parent) const {
  parent->AddItem(new TIniIdent(FText, FNameStart, FNameLength, FValueStart));
}

std::u16string TIniIdent::GetName() const { return FText.substr(FNameStart - 1, FNameLength); }

std::u16string TIniIdent::GetValue() const {
  size_t start = std::min(size_t(FValueStart - 1), FText.size());
  size_t end = FText.size();
  while (end > start && IsIniBlank(FText[end - 1])) --end;
  return FText.substr(start, end - start);
}

void TIniIdent::SetValue(std::u16string_view value) {
  FText.resize(std::min(size_t(FValueStart - 1), FText.size()));
  FText += value;
}

// ---- collections

// Only the plain child list is left at this point (the derived parts, indexes included,
// are gone), so the children are unlinked without touching any index.
TIniCollection::~TIniCollection() { TIniCollection::Clear(); }

void TIniCollection::InsertItem(TCommonIniItem* item, TCommonIniItem* before) {
  KIV_ASSERT(item && !item->FParent && item != this);
  KIV_ASSERT(!before || before->FParent == this);
  item->FParent = this;
  item->FNext = before;
  item->FPrev = before ? before->FPrev : FLast;
  (item->FPrev ? item->FPrev->FNext : FFirst) = item;
  (before ? before->FPrev : FLast) = item;
}

void TIniCollection::RemoveItem(TCommonIniItem* item) {
  KIV_ASSERT(item && item->FParent == this);
  (item->FPrev ? item->FPrev->FNext : FFirst) = item->FNext;
  (item->FNext ? item->FNext->FPrev : FLast) = item->FPrev;
  item->FParent = nullptr;
  item->FPrev = item->FNext = nullptr;
}

void TIniCollection::SaveTo(IIniLineWriter& writer) const {
  for (const TCommonIniItem* item = FFirst; item; item = item->Next()) item->SaveTo(writer);
}

void TIniCollection::Clear() {
  while (FLast) delete FLast;  // each child unlinks itself
}

void TIniCollection::Assign(const TIniCollection& source) {
  if (&source == this) return;
  Clear();
  for (const TCommonIniItem* item = source.First(); item; item = item->Next()) item->CloneInto(this);
}

}  // namespace kiv
