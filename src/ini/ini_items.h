#pragma once
// The items of an INI document: every line of the text is one item, kept verbatim in
// document order so that saving writes the text back line for line. Collections
// (sections, objects, the document) hold their children in a doubly linked list and
// own them: destroying an item first unlinks it from its parent.
#include <cstdint>
#include <string>
#include <string_view>

#include "ini/ini_line_writer.h"

namespace kiv {

class TIniCollection;
class TIniIdentList;

class TCommonIniItem {
 public:
  TCommonIniItem() = default;
  TCommonIniItem(const TCommonIniItem&) = delete;
  TCommonIniItem& operator=(const TCommonIniItem&) = delete;
  virtual ~TCommonIniItem();

  virtual void AddItem(TCommonIniItem* item) = 0;     // appends a child and owns it
  virtual void RemoveItem(TCommonIniItem* item) = 0;  // unlinks a child; the caller owns it again
  virtual void SaveTo(IIniLineWriter& writer) const = 0;
  // Makes a copy of this item inside another collection.
  virtual void CloneInto(TIniCollection* parent) const = 0;

  // Leaves the old parent and joins the new one (none for a free item) at its end.
  void SetParent(TIniCollection* list);

  TIniCollection* Parent() const { return FParent; }
  TCommonIniItem* Prev() const { return FPrev; }
  TCommonIniItem* Next() const { return FNext; }

 protected:
  void LeaveParent();

 private:
  friend class TIniCollection;
  TIniCollection* FParent = nullptr;
  TCommonIniItem* FPrev = nullptr;
  TCommonIniItem* FNext = nullptr;
};

// A blank line; the root of the leaf items, which hold no children.
class TIniEmptyLine : public TCommonIniItem {
 public:
  void AddItem(TCommonIniItem* item) override;
  void RemoveItem(TCommonIniItem* item) override;
  void SaveTo(IIniLineWriter& writer) const override;
  void CloneInto(TIniCollection* parent) const override;

 protected:
  virtual const char* ClassName() const { return "TIniEmptyLine"; }
};

// A line kept verbatim without meaning to the model.
class TIniTextLine : public TIniEmptyLine {
 public:
  explicit TIniTextLine(std::u16string text) : FText(std::move(text)) {}
  void SaveTo(IIniLineWriter& writer) const override;
  void CloneInto(TIniCollection* parent) const override;
  const std::u16string& Text() const { return FText; }

 protected:
  const char* ClassName() const override { return "TIniTextLine"; }
  std::u16string FText;
};

class TIniComment : public TIniTextLine {
 public:
  // commentPos: 1-based position of the ";" that starts the comment.
  TIniComment(std::u16string text, int commentPos) : TIniTextLine(std::move(text)), FCommentPos(commentPos) {}
  void CloneInto(TIniCollection* parent) const override;
  int CommentPos() const { return FCommentPos; }

 protected:
  const char* ClassName() const override { return "TIniComment"; }

 private:
  int FCommentPos;
};

// A name=value line. Positions are 1-based indexes into the line text.
class TIniIdent : public TIniTextLine {
 public:
  TIniIdent(std::u16string text, int nameStart, int nameLength, int valueStart);
  ~TIniIdent() override;
  void CloneInto(TIniCollection* parent) const override;

  std::u16string GetName() const;
  // The text after the value start with trailing blanks removed; nothing is interpreted.
  std::u16string GetValue() const;
  // Keeps the line up to the value start (name, "=" and blanks after it) and puts the value after it.
  void SetValue(std::u16string_view value);

 protected:
  const char* ClassName() const override { return "TIniIdent"; }

 private:
  friend class TIniIdentList;
  int FNameStart;
  int FNameLength;
  int FValueStart;
  // Index state, owned by the ident list whose index holds the ident.
  uint32_t FBucket = 0;
  std::u16string FKey;  // lower-cased name; empty until first indexed
  TIniIdent* FNextInBucket = nullptr;
};

class TIniCollection : public TCommonIniItem {
 public:
  ~TIniCollection() override;

  void AddItem(TCommonIniItem* item) override { InsertItem(item, nullptr); }
  // Links a free item before `before` (a child of this collection), or at the end when none.
  virtual void InsertItem(TCommonIniItem* item, TCommonIniItem* before);
  void RemoveItem(TCommonIniItem* item) override;
  void SaveTo(IIniLineWriter& writer) const override;  // every child in order
  // Destroys all children, last child first.
  virtual void Clear();
  // Clear, then a clone of every child of source in order.
  void Assign(const TIniCollection& source);

  TCommonIniItem* First() const { return FFirst; }
  TCommonIniItem* Last() const { return FLast; }

 private:
  TCommonIniItem* FFirst = nullptr;
  TCommonIniItem* FLast = nullptr;
};

// True for a blank line only, not for the line kinds derived from it.
bool IsBlankLine(const TCommonIniItem* item);
// True for a plain text line only (such as the "end" line that closes an object).
bool IsPlainTextLine(const TCommonIniItem* item);

// A blank is a space or a tab.
constexpr bool IsIniBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace kiv
