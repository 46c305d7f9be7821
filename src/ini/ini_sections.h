#pragma once
// Sections ("[name]" heads) and objects (lines that open a nested block closed by an
// "end" line). Both hold idents, objects, comments, blank and text lines, and both
// are IIniSection views; an object is also an IIniObject.
#include <string>
#include <string_view>

#include "ini/ini_ident_list.h"
#include "ini/ini_views.h"

namespace kiv {

class TCommonIniSection : public TIniIdentList, public virtual IIniSection {
 public:
  // text: the whole header line; the name is nameLength units from the 1-based nameStart.
  TCommonIniSection(std::u16string text, int nameStart, int nameLength);

  void SaveTo(IIniLineWriter& writer) const override;  // the header, then every child
  std::u16string GetName() const override;
  // Rewrites the name span of the header.
  virtual void SetName(std::u16string_view name);
  const std::u16string& Text() const { return FText; }

  std::u16string ReadString(std::u16string_view name, std::u16string_view def) const override {
    return TIniIdentList::ReadString(name, def);
  }
  void WriteString(std::u16string_view name, std::u16string_view value) override {
    TIniIdentList::WriteString(name, value);
  }

 protected:
  std::u16string FText;
  int FNameStart;
  int FNameLength;
};

class TIniObject : public TCommonIniSection, public IIniObject {
 public:
  // valueStart: 1-based start of the value in the header, past the end when there is none.
  TIniObject(std::u16string text, int nameStart, int nameLength, int valueStart);

  // Copies the header into a plain object; inside an object that ends with its "end"
  // line the copy goes before that line. Then copies every child.
  void CloneInto(TIniCollection* parent) const override;
  // New idents are indented two more than the header.
  TIniIdent* FindOrAddIdentHere(std::u16string_view name) override;
  void SetName(std::u16string_view name) override;  // keeps the value start in step

  TIniObject* FirstObject() const override { return TIniIdentList::FirstObject(); }
  using TIniIdentList::NextObject;
  TIniObject* NextObject() const override;

  // The header from the value start with trailing blanks removed.
  std::u16string GetValue() const override;
  // Replaces the header from the value start. A header without a value part gets one
  // that reads back the same: after a trailing ":" the value alone, after a name ":"
  // and the value, after a bare keyword a blank and the value.
  void SetValue(std::u16string_view value) override;

  int Indent() const { return FIndent; }

 private:
  int FValueStart;
  int FIndent;  // leading characters below code 33 in the header
};

// An object opened by a keyword other than "object" that the loader accepted.
class TIniExtraObject : public TIniObject {
 public:
  TIniExtraObject(std::u16string text, int nameStart, int nameLength, int valueStart, std::u16string keyword)
      : TIniObject(std::move(text), nameStart, nameLength, valueStart), FKeyword(std::move(keyword)) {}
  const std::u16string& Keyword() const { return FKeyword; }

 private:
  std::u16string FKeyword;
};

// A top-level section. Sections of one name (ignoring case) in one document form a
// chain that acts as one section: the first holds the ident index of all of them, and
// object enumeration runs through all of them in chain order.
class TIniSection : public TCommonIniSection {
 public:
  TIniSection(std::u16string text, int nameStart, int nameLength)
      : TCommonIniSection(std::move(text), nameStart, nameLength) {}
  ~TIniSection() override;

  // Copies the header, joins the parent, then copies every child.
  void CloneInto(TIniCollection* parent) const override;
  // After a real change the section leaves its document and rejoins it at the end,
  // indexed under the new name.
  void SetName(std::u16string_view name) override;

  TIniObject* FirstObject() const override;
  TIniObject* NextObject(const TCommonIniItem* item) const override;

 protected:
  TIniIdentList* IndexOwner() override { return FFirstSameName ? FFirstSameName : this; }

 private:
  friend class TIniStorage;
  // Rebuilds the index of a chain's first section from the idents of every section in it.
  void ReindexChain();
  // Empties the own index and indexes the own idents into the chain's first section.
  void ReindexOwnIdents();
  void ResetIndexState();

  uint32_t FBucket = 0;
  std::u16string FKey;  // lower-cased name; empty until first indexed
  TIniSection* FNextInBucket = nullptr;
  TIniSection* FNextSameName = nullptr;
  TIniSection* FFirstSameName = nullptr;  // none for the first of a chain
};

}  // namespace kiv
