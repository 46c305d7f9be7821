#include <gtest/gtest.h>

#include <typeinfo>

#include "ini/ini_storage.h"
#include "ini_test_support.h"

namespace kiv {
namespace {

std::string AssertionText(const std::function<void()>& action) {
  try {
    action();
  } catch (const EAssertionFailed& e) {
    return e.Text();
  }
  return "no assertion";
}

TEST(IniItems, LeavesRefuseChildrenAndDocumentsRefuseCloning) {
  TIniEmptyLine blank;
  TIniTextLine text(u"x");
  TIniComment comment(u";c", 1);
  TIniIdent ident(u"a=1", 1, 1, 3);
  EXPECT_EQ(AssertionText([&] { blank.AddItem(&text); }), "TIniEmptyLine cann`t has subitems");
  EXPECT_EQ(AssertionText([&] { text.AddItem(&blank); }), "TIniTextLine cann`t has subitems");
  EXPECT_EQ(AssertionText([&] { comment.RemoveItem(&blank); }), "TIniComment cann`t has subitems");
  EXPECT_EQ(AssertionText([&] { ident.AddItem(&blank); }), "TIniIdent cann`t has subitems");

  TIniStorage storage, other;
  EXPECT_EQ(AssertionText([&] { storage.CloneInto(&other); }), "Method not applicable");
}

TEST(IniItems, DestroyedAndMovedItemsLeaveNoTraceInListsOrIndexes) {
  auto file = LoadIni(u"[S]\na=1\n;c\nb=2\n[T]\n");
  TIniSection* s = file->FindSection(u"s");
  TIniIdent* a = s->FindIdent(u"a");
  TCommonIniItem* comment = a->Next();

  delete comment;  // a middle item: its neighbours are linked again
  EXPECT_EQ(Dump(*s), u"[S]\na=1\nb=2\n");
  EXPECT_EQ(a->Next()->Prev(), a);

  delete a;
  EXPECT_EQ(s->FindIdent(u"a"), nullptr);
  EXPECT_EQ(s->ReadString(u"b", u""), u"2");

  TIniIdent* b = s->FindIdent(u"B");
  TIniSection* t = file->FindSection(u"T");
  b->SetParent(t);
  EXPECT_EQ(s->FindIdent(u"b"), nullptr);
  EXPECT_EQ(t->FindIdent(u"b"), b);
  EXPECT_EQ(Dump(*file), u"[S]\n[T]\nb=2\n");

  EXPECT_EQ(AssertionText([&] { s->RemoveItem(b); }), "Assertion failure");  // not a child of S
}

TEST(IniItems, NewIdentsGoAfterTheLastIdentAndNewSectionsAfterABlankLine) {
  auto file = LoadIni(u"top=1\n[S]\na=1\n;note\n\n[Empty]\n;only a comment\n");
  file->WriteString(u"S", u"b", u"2");
  file->WriteString(u"Empty", u"x", u"y");
  file->WriteString(u"New", u"k", u"v");
  EXPECT_EQ(Dump(*file),
            u"top=1\n[S]\na=1\nb=2\n;note\n\n[Empty]\nx=y\n;only a comment\n\n[New]\nk=v\n");

  // A document that already ends with a blank line gets no second one.
  auto blankEnd = LoadIni(u"[A]\n\n");
  blankEnd->WriteInteger(u"B", u"n", -3);
  EXPECT_EQ(Dump(*blankEnd), u"[A]\n\n[B]\nn=-3\n");
  EXPECT_EQ(blankEnd->FindOrAddSection(u"b"), blankEnd->FindSection(u"B"));

  // Objects indent new idents two more than their header; objects stay after idents.
  auto nested = LoadIni(u"[S]\n  object O\n    p=1\n    object I\n    end\n  end\n");
  TIniObject* object = nested->FindSection(u"S")->FirstObject();
  object->WriteString(u"q", u"2");
  EXPECT_EQ(Dump(*object), u"  object O\n    p=1\n    q=2\n    object I\n    end\n  end\n");
}

TEST(IniItems, ValuesAndNamesAreRewrittenInPlace) {
  auto file = LoadIni(u"[S]\nX = old\nY=v  \n");
  TIniSection* s = file->FindSection(u"S");
  s->WriteString(u"x", u"new");
  EXPECT_EQ(s->FindIdent(u"X")->Text(), u"X = new");
  EXPECT_EQ(s->ReadString(u"Y", u""), u"v");
  EXPECT_EQ(s->FindIdent(u"Y")->Text(), u"Y=v  ");

  // Lookups ignore case; of two equal names the later line wins.
  auto twice = LoadIni(u"[Main]\nA=1\na=2\n");
  EXPECT_EQ(twice->ReadString(u"MAIN", u"A", u""), u"2");

  // Object values: replaced after the value start, or added so that they read back.
  TIniObject named(u"object Foo", 8, 3, 11);
  named.SetValue(u"Bar");
  EXPECT_EQ(named.Text(), u"object Foo:Bar");
  EXPECT_EQ(named.GetValue(), u"Bar");
  named.SetName(u"Longer");
  EXPECT_EQ(named.Text(), u"object Longer:Bar");
  EXPECT_EQ(named.GetValue(), u"Bar");
  named.SetValue(u"Z");
  EXPECT_EQ(named.Text(), u"object Longer:Z");

  auto objects = LoadIni(u"object\nend\nobject A:  \nend\n");
  TIniObject* bare = objects->FirstObject();
  bare->SetValue(u"V");
  EXPECT_EQ(bare->Text(), u"object V");
  TIniObject* colon = objects->NextObject(bare);
  colon->SetValue(u"W");
  EXPECT_EQ(colon->Text(), u"object A:  W");
  EXPECT_EQ(colon->GetName(), u"A");
  EXPECT_EQ(colon->GetValue(), u"W");

  // A renamed section is found under its new name only and rejoins at the end.
  auto renamed = LoadIni(u"[A]\nk=1\n[B]\n");
  renamed->FindSection(u"A")->SetName(u"C");
  EXPECT_EQ(renamed->FindSection(u"A"), nullptr);
  EXPECT_EQ(renamed->ReadString(u"c", u"k", u""), u"1");
  EXPECT_EQ(Dump(*renamed), u"[B]\n[C]\nk=1\n");
}

TEST(IniSameNamedSections, ActAsOneSectionAndSurviveRemovalOfAnyOfThem) {
  auto file = LoadIni(u"[S]\na=1\nobject O1\nend\n[T]\n[s]\nb=2\na=3\nobject O2\nend\n[S]\nc=4\n");
  TIniSection* first = file->FindSection(u"S");
  EXPECT_EQ(first->Text(), u"[S]");
  EXPECT_EQ(file->ReadString(u"S", u"b", u""), u"2");
  EXPECT_EQ(file->ReadString(u"S", u"a", u""), u"3");  // the later line wins
  EXPECT_EQ(file->ReadString(u"S", u"c", u""), u"4");
  IIniObject* o1 = static_cast<IIniSection*>(first)->FirstObject();
  ASSERT_NE(o1, nullptr);
  EXPECT_EQ(o1->GetValue(), u"O1");
  ASSERT_NE(o1->NextObject(), nullptr);
  EXPECT_EQ(o1->NextObject()->GetValue(), u"O2");
  EXPECT_EQ(o1->NextObject()->NextObject(), nullptr);

  std::vector<std::u16string> names;
  file->GetSectionNames(names);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"S", u"T", u"s", u"S"}));

  // Removing the first: the next becomes first and keeps every other value.
  file->RemoveItem(first);
  TIniSection* second = file->FindSection(u"S");
  EXPECT_EQ(second->Text(), u"[s]");
  EXPECT_EQ(file->ReadString(u"S", u"a", u""), u"3");
  EXPECT_EQ(file->ReadString(u"S", u"c", u""), u"4");
  EXPECT_EQ(second->FirstObject()->GetValue(), u"O2");
  EXPECT_EQ(first->ReadString(u"a", u""), u"1");  // the removed one stands alone
  EXPECT_EQ(first->FindIdent(u"b"), nullptr);
  delete first;

  // Destroying a later one drops its idents from the first's index.
  auto* last = dynamic_cast<TIniSection*>(file->Last());
  ASSERT_NE(last, nullptr);
  delete last;
  EXPECT_EQ(file->ReadString(u"S", u"c", u"gone"), u"gone");
  EXPECT_EQ(file->ReadString(u"S", u"b", u""), u"2");

  // Clearing a document with chains leaves nothing behind.
  file->Clear();
  EXPECT_EQ(file->First(), nullptr);
  EXPECT_FALSE(file->SectionExists(u"S"));
}

// Each section of the chain holds k<i>=<i> and v=<i>; the later section's v wins.
TEST(IniSameNamedSections, StayConsistentThroughAnyOrderOfRemovalsAndRenames) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::u16string text;
    for (int i = 0; i < 6; ++i) {
      const std::u16string n = IntToText(i);
      text += (i % 2 ? u"[s]\nk" : u"[S]\nk") + n + u"=" + n + u"\nv=" + n + u"\n[Other" + n + u"]\n";
    }
    auto file = LoadIni(text);
    std::vector<TIniSection*> chain;  // in document order
    for (TCommonIniItem* item = file->First(); item; item = item->Next())
      if (auto* section = dynamic_cast<TIniSection*>(item); section && section->GetName().size() == 1)
        chain.push_back(section);

    unsigned state = seed;
    while (!chain.empty()) {
      state = state * 1103515245 + 12345;
      TIniSection* leaving = chain[(state >> 8) % chain.size()];
      std::erase(chain, leaving);
      const std::u16string ownValue = static_cast<TIniIdent*>(leaving->Last())->GetValue();
      if (state & 0x10000) {
        leaving->SetName(u"Renamed");  // a chain of its own now
        EXPECT_EQ(file->ReadString(u"renamed", u"v", u"?"), ownValue);
      } else {
        file->RemoveItem(leaving);
        EXPECT_EQ(leaving->ReadString(u"v", u"?"), ownValue);
      }
      delete leaving;

      EXPECT_EQ(file->FindSection(u"S"), chain.empty() ? nullptr : chain.front());
      for (TIniSection* section : chain) {
        const auto* own = static_cast<const TIniIdent*>(section->First());
        EXPECT_EQ(file->ReadString(u"S", own->GetName(), u"?"), own->GetValue());
      }
      if (!chain.empty()) {
        EXPECT_EQ(file->ReadString(u"S", u"v", u"?"), static_cast<TIniIdent*>(chain.back()->Last())->GetValue());
      }
    }
  }
}

TEST(IniCloning, CopiesEveryKindIntoItsTarget) {
  auto source = LoadIni(u"[S]\n;c\n\na=1\nobject O:V\n  p=2\nend\n=junk\n");
  TIniStorage target;
  source->FindSection(u"S")->CloneInto(&target);
  EXPECT_EQ(Dump(target), Dump(*source));
  EXPECT_EQ(target.ReadString(u"S", u"a", u""), u"1");
  EXPECT_EQ(target.FindSection(u"S")->FirstObject()->ReadInteger(u"p", 0), 2);

  // Inside an object that ends with its "end" line, a copied object goes before that line.
  auto objects = LoadIni(u"object Outer\nend\nframe F:X\n  q=1\nend\n");
  TIniObject* outer = objects->FirstObject();
  auto withExtra = std::make_unique<TIniFile>();
  withExtra->SetKeywordHook([](std::u16string_view word) { return word == u"frame"; });
  std::string bytes = "frame F:X\n  q=1\nend\n";
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  withExtra->LoadFromStream(stream);
  TIniObject* frame = withExtra->FirstObject();
  ASSERT_EQ(typeid(*frame), typeid(TIniExtraObject));
  frame->CloneInto(outer);
  EXPECT_EQ(Dump(*outer), u"object Outer\nframe F:X\n  q=1\nend\nend\n");
  EXPECT_EQ(typeid(*outer->FirstObject()), typeid(TIniObject));  // the keyword is not carried

  // Assign replaces the children with copies of another collection's.
  TIniSection copy(u"[Copy]", 2, 4);
  copy.WriteString(u"old", u"1");
  copy.Assign(*source->FindSection(u"S"));
  EXPECT_EQ(copy.FindIdent(u"old"), nullptr);
  EXPECT_EQ(copy.ReadString(u"a", u""), u"1");
  EXPECT_EQ(Dump(copy), u"[Copy]\n;c\n\na=1\nobject O:V\n  p=2\nend\n=junk\n");
}

}  // namespace
}  // namespace kiv
