// Shows opening one another in one window: where a named show is found, what stops an
// action that names no usable show, and a show opened with return giving way back to
// the show it was opened from, with shows packed by kivshow, on virtual time.
#include "app/presentation_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/recording_message_box.h"
#include "app/show_file_lookup.h"
#include "base/text.h"
#include "engine/viewer_test_support.h"
#include "support/build_folder.h"
#include "support/log_capture.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

class ShowFileLookupTest : public TempFolderTest {
 protected:
  std::u16string At(const std::string& path) const { return Utf8ToUtf16((folder / path).string()); }
  void Touch(const std::string& path) {
    fs::create_directories((folder / path).parent_path());
    std::ofstream(folder / path) << "x";
  }
};

TEST_F(ShowFileLookupTest, WindowsNamesFindTheShowsAsTheyLieHere) {
  for (const char* file : {"Shows/One", "Other/Two", "Other/Three.KvShow", "Other/Four.exe", "Shows/Five"})
    Touch(file);
  const std::u16string shows = At("Shows");
  struct TCase {
    std::u16string Written, ExeName;
    std::optional<std::string> Found;
  };
  const TCase cases[] = {
      {u"..\\Other\\Two.exe", u"C:\\Shows\\One.exe", "Other/Two"},
      {u"C:\\OTHER\\two.EXE", u"c:\\shows\\One.exe", "Other/Two"},   // any case, the same drive
      {u"../Other/Three.exe", u"C:\\Shows\\One.exe", "Other/Three.KvShow"},
      {u"..\\Other\\Four.exe", u"C:\\Shows\\One.exe", "Other/Four.exe"},
      {u"D:\\Other\\Two.exe", u"C:\\Shows\\One.exe", std::nullopt},  // another drive: only by name
      {u"D:\\Else\\Five.exe", u"C:\\Shows\\One.exe", "Shows/Five"},
      {At("Other/Two"), u"", "Other/Two"},
      {u"..\\Other\\Two.exe", u"", std::nullopt},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.Written));
    const std::optional<std::u16string> found = FindShowFile(c.Written, c.ExeName, shows);
    EXPECT_EQ(found, c.Found ? std::optional(At(*c.Found)) : std::nullopt);
  }
  EXPECT_EQ(ExistingShowFile(u"shows\\ONE.exe", Utf8ToUtf16(folder.string())), At("Shows/One"));
}

// Show A (three slides, standing at its end) and show B (two short slides, closing at
// its end) packed as programs built from "C:\Shows\One.exe" and "C:\Other\Two.exe".
class PresentationRunnerTest : public TempFolderTest {
 protected:
  std::string player = (fs::path(testing::BuildFolder()) / "kivplayer").string();

  void Pack(const std::string& name, const std::string& main, const std::string& output,
            const std::string& options = "") {
    fs::create_directories(folder / name);
    fs::create_directories((folder / output).parent_path());
    std::ofstream(folder / name / "Project.kiv") << "[Main]\r\nKivVersion=5.6\r\n[main]\r\n" << main << "[Slide1]\r\n";
    const std::string command = "'" + (fs::path(player).parent_path() / "kivshow").string() + "' pack '" +
                                (folder / name / "Project.kiv").string() + "' --player '" + player + "' -o '" +
                                (folder / output).string() + "' " + options + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  void SetUp() override {
    Pack("a", "opt_slidescount=3\r\nopt_synchpos1=4000\r\nopt_synchpos2=9000\r\nopt_synchpos3=15000\r\n"
              "opt_repeat=stop\r\nopt_exefn=C:\\Shows\\One.exe\r\n", "Shows/One");
    Pack("b", "opt_slidescount=2\r\nopt_synchpos1=300\r\nopt_synchpos2=600\r\nopt_repeat=close\r\n"
              "opt_exefn=C:\\Other\\Two.exe\r\n", "Other/Two");
    Pack("b", "opt_slidescount=1\r\nopt_synchpos1=300\r\nopt_exefn=C:\\Other\\Old.exe\r\n", "Other/Old",
         "--version 5.5");
    std::ofstream(folder / "Other" / "Junk.exe") << "not a show";
  }
};

TEST_F(PresentationRunnerTest, AShowOpenedWithReturnGivesWayBackToTheSlideItWasLeftAt) {
  testing::TLogCapture log;
  TRecordingMessageBox messages;
  TViewerHarness harness;
  const std::u16string program = Utf8ToUtf16(player);
  const TShowRequest request{Utf8ToUtf16((folder / "Shows" / "One").string()), true};
  const std::unique_ptr<TKivShowLocator> first = OpenShow(request, program);
  ASSERT_TRUE(first);
  const TKivSource* showA = &first->Source(program);
  TPresentationRunner shows(*first, request, *harness.Viewer, program);
  harness.Viewer->OpenShowData(*showA, 0);
  TFakePointer pointer;
  TMainFormParts parts;
  parts.RunPresentation = [&](const TKivActionInfo& action) { return shows.Run(action); };
  parts.ReturnToPrevious = [&] { return shows.ReturnToPrevious(); };
  TMainForm form(*harness.Viewer, harness.Window, pointer, std::move(parts));
  shows.OnShowOpened = [&](std::u16string showFolder) { form.ShowOpened(std::move(showFolder)); };
  form.ShowOpened(shows.ShowFolder());
  harness.Viewer->SeekAndPause(5000, true);  // on A's second slide
  ASSERT_TRUE(harness.WaitForReportAt(5000));

  // Actions that name no show A may give way to leave A where it is, whether they ask
  // for a return or not.
  const std::string other = (folder / "Other").string();
  const struct {
    TKivActionInfo Action;
    std::string Told;
  } refused[] = {
      {{kActionRunPresentationAndReturn, 0, u"..\\Other\\Missing.exe"}, "KivShow File not Found:\n..\\Other\\Missing.exe"},
      {{kActionRunPresentation, 0, u"..\\Other\\Junk.exe"},
       "Not KivShow Executable File or File Corrupted:\n" + other + "/Junk.exe"},
      {{kActionRunPresentationAndReturn, 0, u"..\\Other\\Old.exe -slide 1"},
       "KivShow ExeFile Version Mismatch:\n" + other + "/Old"},
  };
  for (const auto& c : refused) {
    messages.Shown.clear();
    EXPECT_TRUE(form.CarryOutAction(c.Action));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(Utf16ToUtf8(messages.Shown[0].Title + u": " + messages.Shown[0].Text), "Slideshow Error: " + c.Told);
    EXPECT_EQ(harness.Viewer->Show(), showA);
    EXPECT_TRUE(harness.Viewer->IsPaused());
  }
  EXPECT_EQ(harness.Window.Closes, 0);
  EXPECT_TRUE(shows.ReturnStack().empty());
  messages.Shown.clear();

  EXPECT_TRUE(form.CarryOutAction({kActionRunPresentationAndReturn, 0, u"..\\OTHER\\two.EXE"}));
  EXPECT_NE(harness.Viewer->Show(), showA);
  EXPECT_FALSE(harness.Viewer->IsPaused());
  EXPECT_TRUE(log.Contains("Open show: " + other + "/Two"));
  EXPECT_EQ(shows.ReturnStack(), std::vector<std::u16string>{u"\"" + request.Path + u"\" -slide 2"});

  // B plays to its end, where its window would close: A comes back on its second slide.
  const TKivSource* showB = harness.Viewer->Show();
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Viewer->Show() != showB; }));
  EXPECT_TRUE(harness.WaitFor([&] { return log.Contains("Open from new position>>>>>>>> 4001"); }));
  EXPECT_EQ(harness.Window.Closes, 0);
  EXPECT_TRUE(shows.ReturnStack().empty());
  EXPECT_TRUE(messages.Shown.empty());

  // With nothing left to return to, the next end or exit closes the window.
  harness.Viewer->OnShowEnd();
  EXPECT_EQ(harness.Window.Closes, 1);
}

}  // namespace
}  // namespace kiv
