#include <gtest/gtest.h>

#include <filesystem>
#include <typeinfo>

#include "ini/ini_file.h"
#include "ini/text_reader.h"
#include "ini_test_support.h"

namespace kiv {
namespace {

// The kind of every child of a collection, in order.
std::string Kinds(const TIniCollection& list) {
  std::string kinds;
  for (const TCommonIniItem* item = list.First(); item; item = item->Next()) {
    const std::type_info& type = typeid(*item);
    kinds += type == typeid(TIniEmptyLine)     ? "blank "
             : type == typeid(TIniTextLine)    ? "text "
             : type == typeid(TIniComment)     ? "comment "
             : type == typeid(TIniIdent)       ? "ident "
             : type == typeid(TIniObject)      ? "object "
             : type == typeid(TIniExtraObject) ? "extra "
                                               : "section ";
  }
  return kinds;
}

struct TReport {
  TIniParseError Error;
  int LinePos;
  int LineNo;
  bool operator==(const TReport&) const = default;
};

// Loads text and collects what the error hook receives.
std::unique_ptr<TIniFile> LoadReporting(std::string_view bytes, std::vector<TReport>& reports,
                                        TIniKeywordHook keywords = {}) {
  auto file = std::make_unique<TIniFile>();
  file->SetErrorHook([&](TIniFile& source, TIniParseError error, int linePos, int lineNo) {
    EXPECT_EQ(&source, file.get());
    reports.push_back({error, linePos, lineNo});
  });
  file->SetKeywordHook(std::move(keywords));
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  EXPECT_TRUE(file->LoadFromStream(stream));
  EXPECT_TRUE(file->Loaded());
  return file;
}

std::string SavedBytes(const TIniFile& file) {
  TMemoryStream stream;
  EXPECT_TRUE(file.SaveToStream(stream));
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

TEST(IniParser, ClassifiesEveryKindOfLine) {
  std::vector<TReport> reports;
  auto file = LoadReporting(
      "top=1\n"
      " \t \n"
      "  ; note\n"
      "=x\n"
      "p q=r\n"
      "[ Main ]  tail\n"
      "  key = value  \n"
      "p=q r\n"
      "a =b=c\n"
      "[Main\n"
      "[ ]\n"
      "End\n"
      "object\n"
      "end\n"
      "object Foo\n"
      "end\n"
      "object A:B:Z\n"
      "end\n",
      reports);
  EXPECT_EQ(Kinds(*file), "ident blank comment text text section ");
  EXPECT_EQ(reports, (std::vector<TReport>{{TIniParseError::UnrecognisedLine, 1, 4},
                                           {TIniParseError::UnrecognisedLine, 1, 11}}));
  EXPECT_EQ(static_cast<TIniComment*>(file->First()->Next()->Next())->CommentPos(), 3);

  TIniSection* main = file->FindSection(u"main");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->GetName(), u"Main");
  EXPECT_EQ(Kinds(*main), "ident ident ident text text text object object object ");
  EXPECT_EQ(main->FindIdent(u"key")->GetName(), u"key");
  EXPECT_EQ(main->ReadString(u"key", u""), u"value");
  EXPECT_EQ(main->ReadString(u"p", u""), u"q r");
  EXPECT_EQ(main->ReadString(u"a", u""), u"b=c");

  TIniObject* bare = main->FirstObject();
  EXPECT_EQ(bare->GetName(), u"");
  EXPECT_EQ(bare->GetValue(), u"");
  TIniObject* foo = bare->NextObject();
  EXPECT_EQ(foo->GetName(), u"");
  EXPECT_EQ(foo->GetValue(), u"Foo");
  TIniObject* abz = foo->NextObject();
  EXPECT_EQ(abz->GetName(), u"A:B");
  EXPECT_EQ(abz->GetValue(), u"Z");
  EXPECT_EQ(abz->NextObject(), nullptr);

  // Blank lines come back empty; every other line exactly as it was.
  EXPECT_EQ(Dump(*file),
            u"top=1\n\n  ; note\n=x\np q=r\n[ Main ]  tail\n  key = value  \np=q r\na =b=c\n[Main\n[ ]\nEnd\n"
            u"object\nend\nobject Foo\nend\nobject A:B:Z\nend\n");
}

TEST(IniParser, NestsObjectsAndReportsMisplacedEnds) {
  std::vector<TReport> reports;
  auto file = LoadReporting(
      "end\n"                 // 0: nothing open
      "[S]\n"
      "object Outer:1\n"
      "  x=1\n"
      "  object Inner:2\n"
      "    y=2\n"
      "  end\n"
      "end\n"
      "  end\n"               // 8: nothing open in S
      "object Open\n"
      "[T]\n"                 // switches to T with Open still open
      "  end\n"               // 11: T is not an object
      "frame F:3\n"
      "end\n",
      reports, [](std::u16string_view word) { return word == u"frame"; });
  EXPECT_EQ(reports, (std::vector<TReport>{{TIniParseError::EndWithoutObject, 1, 0},
                                           {TIniParseError::EndWithoutObject, 3, 8},
                                           {TIniParseError::EndWithoutObject, 3, 11},
                                           {TIniParseError::ObjectsLeftOpen, 1, 13}}));
  EXPECT_EQ(Kinds(*file), "text section section ");
  TIniSection* s = file->FindSection(u"S");
  EXPECT_EQ(Kinds(*s), "object text object ");
  TIniObject* outer = s->FirstObject();
  EXPECT_EQ(Kinds(*outer), "ident object text ");
  EXPECT_EQ(outer->FirstObject()->ReadInteger(u"y", 0), 2);
  EXPECT_EQ(outer->FirstObject()->Indent(), 2);
  EXPECT_EQ(Kinds(*file->FindSection(u"T")), "text extra ");
  auto* frame = static_cast<TIniExtraObject*>(file->FindSection(u"T")->FirstObject());
  EXPECT_EQ(frame->Keyword(), u"frame");
  EXPECT_EQ(frame->GetName(), u"F");
  EXPECT_EQ(frame->GetValue(), u"3");

  // Without a keyword hook, the word is an unrecognised line.
  reports.clear();
  auto plain = LoadReporting("frame F:3\nend\n", reports);
  EXPECT_EQ(Kinds(*plain), "text text ");
  EXPECT_EQ(reports.size(), 2u);
}

TEST(IniFileRoundTrip, UnchangedUtf8DocumentIsSavedByteForByte) {
  const std::string text =
      "\xEF\xBB\xBF"
      "; show \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\n"
      "\r\n"
      "[Main]\r\n"
      "Name = Caf\xC3\xA9  \r\n"
      "garbage line\r\n"
      "end\r\n"
      "[ broken\r\n"
      "object Pic:1\r\n"
      "  File=a.jpg\r\n"
      "end\r\n";
  std::vector<TReport> reports;
  auto file = LoadReporting(text, reports);
  EXPECT_EQ(reports.size(), 2u);
  EXPECT_EQ(SavedBytes(*file), text);
  EXPECT_EQ(file->ReadString(u"Main", u"Name", u""), u"Caf\u00E9");

  // Other encodings and line ends come back as UTF-8 with a mark and CR LF.
  const std::string utf16 = std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0\xE9\0\r\0", 16);
  reports.clear();
  EXPECT_EQ(SavedBytes(*LoadReporting(utf16, reports)), "\xEF\xBB\xBF[A]\r\nk=\xC3\xA9\r\n");
  EXPECT_EQ(SavedBytes(*LoadReporting("[A]\n\rk=\xE9\r\rx=1", reports)),
            "\xEF\xBB\xBF[A]\r\nk=\xC3\xA9\r\n\r\nx=1\r\n");
  auto empty = LoadReporting("", reports);
  EXPECT_EQ(empty->First(), nullptr);
  EXPECT_EQ(SavedBytes(*empty), "\xEF\xBB\xBF");
}

// Refuses every write.
class TFullStream : public TMemoryStream {
 public:
  int64_t Write(const void*, int64_t) override { return 0; }
};

TEST(IniFileRoundTrip, FailuresOfLoadingAndSaving) {
  TIniFile file;
  const std::string bad = "\xEF\xBB\xBFk=1\n\xFF\n";
  TMemoryStream stream(std::vector<uint8_t>(bad.begin(), bad.end()));
  EXPECT_THROW(file.LoadFromStream(stream), EInvalidChar);
  EXPECT_FALSE(file.Loaded());

  file.WriteString(u"S", u"k", u"v");
  TFullStream full;
  EXPECT_FALSE(file.SaveToStream(full));

  const std::string path = (std::filesystem::temp_directory_path() / "kiv_ini_file_test.ini").string();
  ASSERT_TRUE(file.SaveToFile(path));
  TIniFile again;
  EXPECT_TRUE(again.LoadFromFile(path));
  EXPECT_EQ(again.ReadString(u"s", u"K", u""), u"v");
  std::filesystem::remove(path);
  EXPECT_FALSE(again.LoadFromFile(path));
  EXPECT_FALSE(again.Loaded());
  EXPECT_FALSE(again.SaveToFile("/nonexistent-dir/x.ini"));
}

}  // namespace
}  // namespace kiv
