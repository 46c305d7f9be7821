#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/show_opening.h"
#include "app/start_parameters.h"
#include "base/text.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

TEST(StartParameters, FolderKeepsItsSlash) {
  const char* argv[] = {"kivplayer", "-slide", "2"};
  const TStartParameters start = MakeStartParameters(u"/opt/x/kivplayer", 3, argv);
  EXPECT_EQ(start.ProgramPath, u"/opt/x/kivplayer");
  EXPECT_EQ(start.ProgramFolder, u"/opt/x/");
  EXPECT_EQ(start.CommandLine, u"kivplayer -slide 2");
}

TShowRequest RequestFor(std::u16string_view commandLine) {
  const char* argv[] = {"kivplayer"};
  return StartShowRequest(TCommandLine::FromText(commandLine), MakeStartParameters(u"/opt/x/kivplayer", 1, argv));
}

TEST(StartShowRequest, ProjectFileElseExecutableElseTheProgram) {
  TShowRequest request = RequestFor(u"kivplayer");
  EXPECT_EQ(request.Path, u"/opt/x/kivplayer");
  EXPECT_TRUE(request.IsExecutable);

  request = RequestFor(u"kivplayer -exename ../shows/trip");
  EXPECT_EQ(request.Path, u"/opt/shows/trip");
  EXPECT_TRUE(request.IsExecutable);

  request = RequestFor(u"kivplayer -exename /srv/trip -filename \"my trip/Project.kiv\"");
  EXPECT_EQ(request.Path, u"/opt/x/my trip/Project.kiv");
  EXPECT_FALSE(request.IsExecutable);

  // A switch without its path names nothing.
  request = RequestFor(u"kivplayer -filename");
  EXPECT_EQ(request.Path, u"/opt/x/kivplayer");
  EXPECT_TRUE(request.IsExecutable);
}

// A relative name not found beside the program is the current folder's, when it is there.
TEST(StartShowRequest, ARelativeNameNotBesideTheProgramIsTakenFromTheCurrentFolder) {
  TTestFolder here;
  std::ofstream(here.Path() / "trip.KvShow") << "x";
  std::ofstream(here.Path() / "Project.kiv") << "x";
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(here.Path());
  const std::u16string folder = Utf8ToUtf16(here.Path().string());
  EXPECT_EQ(RequestFor(u"kivplayer -exename trip").Path, folder + u"/trip");
  EXPECT_EQ(RequestFor(u"kivplayer -filename ./Project.kiv").Path, folder + u"/Project.kiv");
  EXPECT_EQ(RequestFor(u"kivplayer -exename elsewhere").Path, u"/opt/x/elsewhere");
  std::filesystem::current_path(before);
}

TEST(ShowLoadFailureText, NamesTheReasonAndEveryPathTried) {
  const std::u16string cannot = u"Can\u0060t";
  EXPECT_EQ(ShowLoadFailureText({u"/srv/trip.exe", true}, u""),
            cannot + u" Load Show\n\"/srv/trip.exe\" or \"/srv/trip.KvShow\"");
  EXPECT_EQ(ShowLoadFailureText({u"/srv/trip", true}, u"Slide-show File Damaged"),
            u"Slide-show File Damaged\n\"/srv/trip\" or \"/srv/trip.KvShow\"");
  EXPECT_EQ(ShowLoadFailureText({u"/srv/a b/Project.kiv", false}, u"ignored"),
            cannot + u" Load .kiv File\n\"/srv/a b/Project.kiv\"");
}

}  // namespace
}  // namespace kiv
