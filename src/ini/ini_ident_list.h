#pragma once
// A collection that indexes its name=value lines by name (case-insensitive) and reads
// typed values from them. Sections, objects and the document itself are ident lists.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ini/ini_items.h"
#include "ini/ini_values.h"

namespace kiv {

class TIniObject;

class TIniIdentList : public TIniCollection {
 public:
  static constexpr uint32_t kIdentBuckets = 251;

  void InsertItem(TCommonIniItem* item, TCommonIniItem* before) override;  // indexes idents
  void RemoveItem(TCommonIniItem* item) override;  // drops idents from the index
  void Clear() override;

  // Puts an ident into the index; of two idents with one name the one indexed last is found.
  void IndexIdent(TIniIdent* ident);
  TIniIdent* FindIdent(std::u16string_view name) const;
  // Finds the ident or makes the line indent blanks + name + "=", placed right after the
  // last ident of this list (so trailing comments, blank lines and objects stay after
  // it), or at the head when the list holds no ident.
  TIniIdent* FindOrAddIdent(std::u16string_view name, int indent);
  // FindOrAddIdent with the indent of this kind of list.
  virtual TIniIdent* FindOrAddIdentHere(std::u16string_view name) { return FindOrAddIdent(name, 0); }

  virtual TIniObject* FirstObject() const;
  // The next object after item (a child of this list).
  virtual TIniObject* NextObject(const TCommonIniItem* item) const;

  // Typed getters: every read takes a default, returned when the ident is absent or its
  // value is not accepted (rules in ini/ini_values.h).
  std::u16string ReadString(std::u16string_view name, std::u16string_view def) const;
  int32_t ReadInteger(std::u16string_view name, int32_t def) const;
  double ReadFloat(std::u16string_view name, double def) const;
  bool ReadBool(std::u16string_view name, bool def) const;
  // Index of the first of names equal to the value ignoring case, else def.
  int ReadEnum(std::u16string_view name, std::span<const std::u16string_view> names, int def) const;
  int ReadEnumExact(std::u16string_view name, std::span<const std::u16string_view> names, int def) const;
  // List getters store at most items.size() items and answer how many the value holds
  // (0 when absent). A number list answers ~index of the first item that is not a number,
  // checking every item, also those beyond the capacity.
  int ReadStrings(std::u16string_view name, std::span<std::u16string> items) const;
  int ReadIntegers(std::u16string_view name, std::span<int32_t> items) const;
  int ReadFloats(std::u16string_view name, std::span<double> items) const;
  // "R,G,B" (alpha 0xFF, opaque) and "R,G,B,A", each part clamped to 0..255.
  uint32_t ReadColor(std::u16string_view name, uint32_t def) const;
  uint32_t ReadColorAlpha(std::u16string_view name, uint32_t def) const;
  TIniPoint ReadPoint(std::u16string_view name, TIniPoint def) const;
  TIniPointF ReadPointF(std::u16string_view name, TIniPointF def) const;

  // FindOrAddIdentHere, then set the value.
  void WriteString(std::u16string_view name, std::u16string_view value);

 protected:
  // The list whose index holds this list's idents.
  virtual TIniIdentList* IndexOwner() { return this; }
  const TIniIdentList* IndexOwner() const { return const_cast<TIniIdentList*>(this)->IndexOwner(); }
  // Empties this list's own index (the idents stay children).
  void ClearIdentIndex() { FIdentIndex.clear(); }
  // Indexes every ident child, in document order.
  void IndexChildIdents();

 private:
  void DropIdent(TIniIdent* ident);
  template <typename T, typename Parse>
  int ReadList(std::u16string_view name, std::span<T> items, Parse parse) const;

  std::vector<TIniIdent*> FIdentIndex;  // bucket heads, newest first; grows on first use of a bucket
};

}  // namespace kiv
