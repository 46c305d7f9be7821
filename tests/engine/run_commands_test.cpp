// The commands of run-application actions: splitting, the prohibited commands, program
// and parameters, and the attempts made again beside the show, on a recording launcher.
#include "engine/run_commands.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "base/text.h"
#include "engine/recording_launcher.h"

namespace kiv {
namespace {

const std::string kFolder = "/shows/demo";
const TLaunchResult kNotFound{TLaunchStatus::NotFound, "it was not found"};

struct TCase {
  const char16_t* Text;
  std::vector<TLaunchRequest> Started;
  std::u16string Told;  // empty: nothing
  std::map<std::string, TLaunchResult> Answers = {};
};

TEST(RunCommands, CommandsAreSplitCheckedAndStartedOrRefusedAsAWhole) {
  const std::u16string prohibited(kProhibitedCommandText);
  const TCase cases[] = {
      {u"notepad.exe readme.txt", {{"notepad.exe", {"readme.txt"}, kFolder}}, u""},
      {u"cmd /c x", {}, prohibited},
      {u"C:\\Tools\\Format.COM", {}, prohibited},
      {u"@CMD.EXE", {}, prohibited},
      {u"\"C:\\My Tools\\copy.exe\" a b", {}, prohibited},
      {u"viewer.exe > out.txt", {}, prohibited},
      {u"a.exe, b.exe", {{"a.exe", {}, kFolder}, {"b.exe", {}, kFolder}}, u""},
      {u"a.exe, cmd /c x", {}, prohibited},
      {u"\"C:\\Program Files\\View\\view.exe\" \"my file.txt\"",
       {{"C:\\Program Files\\View\\view.exe", {"my file.txt"}, kFolder}}, u""},
      {u"\"pictures, old.exe\"", {{"pictures, old.exe", {}, kFolder}}, u""},  // the comma is quoted
      {u"  player.exe   one  two ", {{"player.exe", {"one", "two"}, kFolder}}, u""},
      {u"a.exe,", {{"a.exe", {}, kFolder}}, u""},
      // Not found: by its file name in the folder, then as the folder + its name.
      {u"tools\\gone.exe",
       {{"tools\\gone.exe", {}, kFolder}, {"gone.exe", {}, kFolder}, {"/shows/demo/tools\\gone.exe", {}, kFolder}},
       u"\"tools\\gone.exe\" cannot be opened: it was not found",
       {{"tools\\gone.exe", kNotFound}, {"gone.exe", kNotFound}, {"/shows/demo/tools\\gone.exe", kNotFound}}},
      // With parameters: once more without their surrounding quotes.
      {u"run.exe \"long name\"", {{"run.exe", {"long name"}, kFolder}, {"run.exe", {"long", "name"}, kFolder}},
       u"\"run.exe\" cannot be opened: it was not found", {{"run.exe", kNotFound}}},
      {u"setup.exe", {{"setup.exe", {}, kFolder}},
       u"\"setup.exe\" cannot be opened: it is a Windows program and cannot run here",
       {{"setup.exe", {TLaunchStatus::Refused, "it is a Windows program and cannot run here"}}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.Text));
    TRecordingLauncher launcher;
    launcher.Answers = c.Answers;
    std::vector<std::u16string> told;
    const bool started =
        RunCommands(c.Text, {launcher, Utf8ToUtf16(kFolder), [&](std::u16string_view text) { told.emplace_back(text); }, {}, {}});
    EXPECT_EQ(launcher.Requests, c.Started);
    EXPECT_EQ(told, c.Told.empty() ? std::vector<std::u16string>{} : std::vector<std::u16string>{c.Told});
    EXPECT_EQ(started, c.Told.empty());
  }
}

TEST(RunCommands, ProgramsPartsAndPrefixes) {
  EXPECT_EQ(SplitProgram(u"\"C:\\a b\\x.exe\" \"y z\"").Program, u"\"C:\\a b\\x.exe\"");
  EXPECT_EQ(SplitProgram(u"\"C:\\a b\\x.exe\" \"y z\"").Parameters, u"\"y z\"");
  EXPECT_EQ(SplitProgram(u"\"x.exe\"").Parameters, u"");  // no empty argument
  EXPECT_EQ(SplitCommands(u"mailto:a@x,b@y").size(), 2u);  // which is why links are never split
  EXPECT_EQ(EnsurePrefix(u"www.example.com", {u"http://", u"https://"}), u"http://www.example.com");
  EXPECT_EQ(EnsurePrefix(u"https://example.com", {u"http://", u"https://"}), u"https://example.com");
  EXPECT_EQ(EnsurePrefix(u"HTTP://example.com", {u"http://", u"https://"}), u"http://HTTP://example.com");
  EXPECT_FALSE(IsProhibitedCommand(u"notepad.exe C:\\cmd\\readme.txt"));
  EXPECT_FALSE(IsProhibitedCommand(u"formatter.exe"));
}

}  // namespace
}  // namespace kiv
