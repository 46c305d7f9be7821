// The pieces kivshow is made of: argument parsing, FileMap lines, the names a project
// uses, and the safe paths entries are extracted to.
#include <gtest/gtest.h>

#include <memory>

#include "base/memory_stream.h"
#include "base/text.h"
#include "ini/ini_file.h"
#include "kivshow/command_arguments.h"
#include "kivshow/entry_paths.h"
#include "kivshow/project_file_names.h"

namespace kiv {
namespace {

TEST(KivShowArguments, OptionsValuesAndPositionals) {
  const TOptionSpec specs[] = {
      {"--output", "-o", true, false}, {"--add", "", true, true}, {"--data", "", false, false}};
  const std::vector<std::string> args = {"show.kiv", "-o", "out", "--add", "a", "--data", "--add", "b", "--", "-x"};
  const TCommandArguments parsed(args, specs);
  EXPECT_EQ(parsed.Positional(), (std::vector<std::string>{"show.kiv", "-x"}));
  EXPECT_EQ(parsed.Value("--output"), "out");
  EXPECT_EQ(parsed.Values("--add"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(parsed.Has("--data"));
  EXPECT_FALSE(parsed.HelpAsked());
  EXPECT_EQ(parsed.Value("--missing", "def"), "def");
  EXPECT_TRUE(TCommandArguments(std::vector<std::string>{"x", "--help"}, specs).HelpAsked());

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--unknown"}, {"-o"}, {"-o", "a", "--output", "b"}})
    EXPECT_THROW(TCommandArguments(bad, specs), EUsageError) << bad[0];
}

TEST(KivShowProjectNames, IdentValuesOfSectionsAndObjectsAndBothFileMapSides) {
  TIniFile project;
  const std::string source =
      "Top=first.jpg\r\n"
      "[Main]\r\nKivVersion=8\r\nopt_exefn=\"C:\\Shows\\x.exe\"\r\n"
      "[Slide1]\r\nobject Picture\r\n  FileName=Pics\\A.jpg\r\n"
      "  object Inner\r\n    Sound=\"s.mp3\"\r\n  end\r\nend\r\n"
      "Again=Pics\\A.jpg\r\nEmpty=\r\n; comment=ignored.jpg\r\n"
      "[FileMap]\r\n\"My Song\"=Sound\\song.mp3\r\n;\"kept\"=k.png\r\n";
  TMemoryStream stream(std::vector<uint8_t>(source.begin(), source.end()));
  ASSERT_TRUE(project.LoadFromStream(stream));
  EXPECT_EQ(ProjectFileNames(project),
            (std::vector<std::u16string>{u"first.jpg", u"8", u"C:\\Shows\\x.exe", u"Pics\\A.jpg", u"s.mp3", u"My Song",
                                         u"Sound\\song.mp3", u"kept", u"k.png"}));
}

TEST(KivShowEntryPaths, NamesStayInsideTheOutputFolder) {
  EXPECT_EQ(SafeEntryPath(u"C:\\Users\\x\\a.jpg"), "Users/x/a.jpg");
  EXPECT_EQ(SafeEntryPath(u"Project.kiv"), "Project.kiv");
  EXPECT_EQ(SafeEntryPath(u"pics/./sub//b.png"), "pics/sub/b.png");
  EXPECT_EQ(SafeEntryPath(u"\\\\server\\share\\c.jpg"), "server/share/c.jpg");
  EXPECT_EQ(SafeEntryPath(u"/etc/passwd"), "etc/passwd");
  EXPECT_EQ(SafeEntryPath(u"d:rel.txt"), "rel.txt");
  EXPECT_EQ(SafeEntryPath(u"VectTextCache: Arial:1"), "VectTextCache: Arial:1");
  EXPECT_EQ(SafeEntryPath(u"Bild \u00e4.jpg"), "Bild \xc3\xa4.jpg");
  for (std::u16string_view bad : {u"..\\..\\evil.exe", u"a/../../b", u"C:..\\x", u"..", u"C:\\", u"./", u""})
    EXPECT_FALSE(SafeEntryPath(bad)) << Utf16ToUtf8(bad);
  EXPECT_FALSE(SafeEntryPath(std::u16string(u"a\0b", 3)));
}

}  // namespace
}  // namespace kiv
