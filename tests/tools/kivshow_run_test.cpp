// kivshow commands run in-process and as the built program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "base/file_stream.h"
#include "base/text.h"
#include "container/kiv_pack.h"
#include "container/kiv_unpack.h"
#include "kivshow/kivshow_command.h"
#include "support/build_folder.h"
#include "support/bytes.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

std::string EntryText(const TKivUnpack& show, std::u16string_view name) { return ReadAll(show.OpenEntry(name).get()); }

struct TRun {
  int Code;
  std::string Out;
  std::string Err;
};

class KivShowTest : public TempFolderTest {
 protected:
  KivShowTest() : TempFolderTest("kiv_kivshow_") {}

  fs::path player;
  std::string playerImage = std::string(5000, 'P');
  const std::string picture = std::string(100000, 'j') + "end";  // larger than one 64 KiB piece

  void SetUp() override {
    player = folder / "bin" / "kivplayer";
    WriteAll(player, playerImage);
  }

  TRun Run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = RunKivShow(args, out, err);
    return {code, out.str(), err.str()};
  }

  // The built kivshow, with its output and errors.
  // Runs the built tool with arguments as a shell would pass them, in folder at when
  // given.
  TRun RunBinary(const std::string& arguments, const fs::path& at = {}) {
    const char* buildDir = testing::BuildFolder();
    if (!buildDir) return {-2, "", "KIV_BUILD_DIR is not set"};
    const std::string command = (at.empty() ? "" : "cd '" + at.string() + "' && ") + "'" +
                                (fs::path(buildDir) / "kivshow").string() + "' " + arguments + " >'" +
                                (folder / "out.txt").string() + "' 2>'" + (folder / "err.txt").string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(folder / "out.txt"), ReadAll(folder / "err.txt")};
  }

  // A project written on another system: backslashes, names in another case than on
  // disk, a file map, an absolute path of the building machine, a file named twice.
  fs::path MakeProject() {
    const fs::path project = folder / "project" / "show.kiv";
    WriteAll(project,
             "[Main]\r\nKivVersion=8.0.1\r\nopt_exefn=C:\\Users\\me\\Show.exe\r\n"
             "[Slide1]\r\nobject Picture\r\n  FileName=Pictures\\Summer\\BEACH.jpg\r\n"
             "  Mask=\"pictures/summer/beach.JPG\"\r\nend\r\n"
             "Music=C:\\Users\\me\\Music\\gone.mp3\r\nTitle=Pictures\r\n"
             "[FileMap]\r\n\"My Song\"=Sound\\song.MP3\r\n");
    WriteAll(folder / "project" / "Pictures" / "Summer" / "beach.jpg", picture);
    WriteAll(folder / "project" / "sound" / "Song.mp3", "ID3 song");
    WriteAll(folder / "project" / "My Song", "mapped name on disk");
    WriteAll(folder / "project" / "unused.jpg", "not named");
    WriteAll(folder / "extra" / "notes.txt", "extra notes");
    return project;
  }
};

TEST_F(KivShowTest, PackTakesEveryFileTheProjectNames) {
  const fs::path project = MakeProject();
  const std::string output = (folder / "show").string();
  const std::string extra = (folder / "extra" / "notes.txt").string();
  const TRun run = Run({"pack", project.string(), "-o", output, "--player", player.string(), "--mode", "enciphered",
                        "--add", extra, "--add", extra});
  ASSERT_EQ(run.Code, 0) << run.Err;
  EXPECT_TRUE(run.Out.starts_with("Packed 6 entries (")) << run.Out;
  EXPECT_TRUE(run.Out.ends_with(" bytes) into " + output + "\nStored 0 texts with the glyphs of 0 fonts\n")) << run.Out;

  TKivUnpack show(output);
  ASSERT_TRUE(show.Usable()) << Utf16ToUtf8(show.Error());
  EXPECT_EQ(show.EntryNames(),
            (std::vector<std::u16string>{Utf8ToUtf16(player.filename().string()), u"Project.kiv", u"Pictures\\Summer\\BEACH.jpg",
                                         u"pictures/summer/beach.JPG", u"My Song", u"Sound\\song.MP3",
                                         Utf8ToUtf16(extra), u"ExeGUID"}));
  EXPECT_EQ(EntryText(show, Utf8ToUtf16(player.filename().string())), playerImage);
  EXPECT_EQ(EntryText(show, u"Project.kiv"), ReadAll(project));
  EXPECT_EQ(EntryText(show, u"Pictures\\Summer\\BEACH.jpg"), picture);
  EXPECT_EQ(EntryText(show, u"pictures/summer/beach.JPG"), picture);
  EXPECT_EQ(EntryText(show, u"Sound\\song.MP3"), "ID3 song");
  EXPECT_EQ(EntryText(show, u"My Song"), "mapped name on disk");
  EXPECT_EQ(EntryText(show, Utf8ToUtf16(extra)), "extra notes");

  EXPECT_EQ(show.FindEntry(u"Project.kiv")->Mode, TPackMode::Deflated);
  EXPECT_EQ(show.FindEntry(u"Sound\\song.MP3")->Mode, TPackMode::Enciphered);
  // One file named two ways is stored once.
  EXPECT_EQ(show.FindEntry(u"pictures/summer/beach.JPG")->Position,
            show.FindEntry(u"Pictures\\Summer\\BEACH.jpg")->Position);
  EXPECT_EQ(show.Version(), u"8.0.1");
  EXPECT_EQ(show.Index().ReadString(kProtectionSection, kAllowModifyKey, u""), u"0");
  EXPECT_EQ(fs::status(output).permissions() & fs::perms::all, fs::perms(0755));
}

// The player will not start a show program whose project names no program: packing one
// names the output and says so; a data file, which is no program, is left as written.
TEST_F(KivShowTest, PackNamesTheProgramOfAProjectThatNamesNone) {
  WriteAll(folder / "bare.kiv", "[Main]\r\nopt_slidescount=0\r\n");
  const std::string output = (folder / "bare show").string();
  const TRun run = Run({"pack", (folder / "bare.kiv").string(), "-o", output, "--player", player.string()});
  ASSERT_EQ(run.Code, 0) << run.Err;
  EXPECT_NE(run.Out.find("named no program (opt_exefn): the show names " + output), std::string::npos) << run.Out;
  EXPECT_NE(EntryText(TKivUnpack(output), u"Project.kiv").find("opt_exefn=" + output), std::string::npos);
  const TRun data = Run({"pack", (folder / "bare.kiv").string(), "-o", output + ".KvShow", "--data"});
  EXPECT_EQ(data.Out.find("opt_exefn"), std::string::npos);
  EXPECT_EQ(EntryText(TKivUnpack(output + ".KvShow"), u"Project.kiv"), ReadAll(folder / "bare.kiv"));
}

TEST_F(KivShowTest, PackOptionsShapeTheContainer) {
  const fs::path project = MakeProject();
  const std::string data = (folder / "show.KvShow").string();
  TRun run = Run({"pack", project.string(), "-o", data, "--data", "--mode", "stored", "--version", "9 beta",
                  "--allow-modify", "--short-trailer"});
  ASSERT_EQ(run.Code, 0) << run.Err;
  {
    TKivUnpack show(data);
    ASSERT_TRUE(show.Usable()) << Utf16ToUtf8(show.Error());
    EXPECT_EQ(show.EntryNames().front(), u"Project.kiv");  // no program image
    EXPECT_EQ(show.FindEntry(u"Project.kiv")->Position, 0);
    EXPECT_EQ(show.FindEntry(u"Sound\\song.MP3")->Mode, TPackMode::Stored);
    EXPECT_EQ(show.Version(), u"9 beta");
    EXPECT_EQ(show.Index().ReadString(kProtectionSection, kAllowModifyKey, u""), u"1");
  }
  const std::string bytes = ReadAll(data);
  EXPECT_EQ(bytes.substr(bytes.size() - 4), ".dne");
  EXPECT_EQ(fs::status(data).permissions() & fs::perms::owner_exec, fs::perms::none);

  // Failures name the cause and leave no output behind.
  const std::string output = (folder / "failed").string();
  run = Run({"pack", project.string(), "-o", output, "--player", (folder / "no-player").string()});
  EXPECT_EQ(run.Code, 1);
  EXPECT_NE(run.Err.find("no-player"), std::string::npos) << run.Err;
  EXPECT_FALSE(fs::exists(output));
  run = Run({"pack", project.string(), "-o", output, "--player", player.string(), "--add", "/no/such/file"});
  EXPECT_EQ(run.Code, 1);
  EXPECT_NE(run.Err.find("/no/such/file: no such file"), std::string::npos) << run.Err;
  EXPECT_FALSE(fs::exists(output));
  run = Run({"pack", (folder / "none.kiv").string(), "-o", output, "--player", player.string()});
  EXPECT_EQ(run.Code, 1);
  EXPECT_FALSE(fs::exists(output));
}

TEST_F(KivShowTest, ListShowsEveryEntryOrSaysWhyNot) {
  const std::string output = (folder / "show").string();
  {
    TFileStream stream(output, TFileMode::Create);
    stream.WriteBuffer(playerImage.data(), int64_t(playerImage.size()));
    TKivPack pack(stream, u"C:\\Build\\kivplayer.exe");
    pack.AddBytes(u"Project.kiv", std::vector<uint8_t>(10, 'p'), TPackMode::Deflated);
    pack.AddBytes(u"pic[1].jpg", std::vector<uint8_t>(7, 'x'), TPackMode::Enciphered);
    pack.Finish({u"1"});
  }
  TRun run = Run({"list", output});
  ASSERT_EQ(run.Code, 0) << run.Err;
  std::istringstream lines(run.Out);
  std::vector<std::string> got(std::istream_iterator<std::string>(lines), {});
  ASSERT_EQ(got.size(), 16u) << run.Out;
  EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + 4),
            (std::vector<std::string>{"stored", "5000", "0", "C:\\Build\\kivplayer.exe"}));
  EXPECT_EQ(got[4], "deflated");
  EXPECT_EQ(got[6], "5000");
  EXPECT_EQ(got[7], "Project.kiv");
  EXPECT_EQ(std::vector<std::string>(got.begin() + 8, got.begin() + 12),
            (std::vector<std::string>{"enciphered", "7", std::to_string(5000 + std::stoi(got[5])), "pic[1].jpg"}));
  EXPECT_EQ(got[15], "ExeGUID");

  run = Run({"list", player.string()});
  EXPECT_EQ(run.Code, 1);
  EXPECT_EQ(run.Err, "kivshow list: " + player.string() + ": not a show container\n");
  run = Run({"list", (folder / "missing").string()});
  EXPECT_EQ(run.Code, 1);
  EXPECT_EQ(run.Err, "kivshow list: " + (folder / "missing").string() + ": not found\n");
}

TEST_F(KivShowTest, ExtractNeverWritesOutsideTheFolder) {
  const std::string output = (folder / "show").string();
  {
    TFileStream stream(output, TFileMode::Create);
    TKivPack pack(stream);
    pack.AddBytes(u"C:\\Users\\x\\a.jpg", std::vector<uint8_t>(70000, 'a'), TPackMode::Deflated);
    pack.AddBytes(u"\\rooted.txt", std::vector<uint8_t>{'r'}, TPackMode::Enciphered);
    pack.AddBytes(u"..\\..\\evil.txt", std::vector<uint8_t>{'e'}, TPackMode::Stored);
    pack.AddBytes(u"sub/../../evil2.txt", std::vector<uint8_t>{'e'}, TPackMode::Stored);
    pack.AddBytes(u"link\\through.txt", std::vector<uint8_t>{'l'}, TPackMode::Stored);
    pack.AddBytes(u"empty", {}, TPackMode::Stored);
    pack.Finish({u"1"});
  }
  const fs::path target = folder / "out" / "deep";
  const fs::path outside = folder / "outside";
  fs::create_directories(target);
  fs::create_directories(outside);
  fs::create_directory_symlink(outside, target / "link");  // planted before extracting

  TRun run = Run({"extract", output, "-o", target.string()});
  EXPECT_EQ(run.Code, 1);
  EXPECT_EQ(run.Out, "Extracted 4 of 7 entries into " + target.string() + "\n");
  EXPECT_NE(run.Err.find("..\\..\\evil.txt: unsafe entry name, not written"), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find("sub/../../evil2.txt: unsafe entry name"), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find("link\\through.txt: leads outside the output folder"), std::string::npos) << run.Err;
  EXPECT_EQ(ReadAll(target / "Users" / "x" / "a.jpg"), std::string(70000, 'a'));
  EXPECT_EQ(ReadAll(target / "rooted.txt"), "r");
  EXPECT_TRUE(fs::exists(target / "empty"));
  EXPECT_EQ(fs::file_size(target / "empty"), 0u);
  EXPECT_TRUE(fs::exists(target / "ExeGUID"));
  EXPECT_TRUE(fs::is_empty(outside));
  for (const fs::path& place :
       {folder / "evil.txt", folder / "out" / "evil.txt", folder / "evil2.txt", folder / "out" / "evil2.txt"})
    EXPECT_FALSE(fs::exists(place)) << place;

  // Named entries only; a name missing from the show is reported.
  const fs::path only = folder / "only";
  run = Run({"extract", output, "-o", only.string(), "c:\\users\\X\\A.JPG"});
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_TRUE(fs::exists(only / "users" / "X" / "A.JPG"));
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(only), {}), 3);
  run = Run({"extract", output, "-o", only.string(), "nothing.jpg"});
  EXPECT_EQ(run.Code, 1);
  EXPECT_EQ(run.Err, "nothing.jpg: no such entry, or it cannot be read\n");
}

TEST_F(KivShowTest, BuiltToolPacksWithThePlayerBesideItAndRefusesBadCommandLines) {
  const char* buildDir = testing::BuildFolder();
  ASSERT_NE(buildDir, nullptr) << "KIV_BUILD_DIR is not set";
  const fs::path project = MakeProject();
  const fs::path output = folder / "My Show";
  TRun run = RunBinary("pack '" + project.string() + "' -o '" + output.string() + "'");
  ASSERT_EQ(run.Code, 0) << run.Err;
  EXPECT_TRUE(run.Out.starts_with("Packed 5 entries (")) << run.Out;
  // The player without its debugging information, named by its file name alone.
  const fs::path installedPlayer = fs::path(buildDir) / "player" / "kivplayer";
  TKivUnpack show(output.string());
  ASSERT_TRUE(show.Usable()) << Utf16ToUtf8(show.Error());
  const auto program = show.FindEntry(u"kivplayer");
  ASSERT_TRUE(program) << Utf16ToUtf8(show.EntryNames().front());
  EXPECT_EQ(program->Size, int64_t(fs::file_size(installedPlayer)));
  EXPECT_EQ(fs::status(output).permissions() & fs::perms::all, fs::perms(0755));
  run = RunBinary("list '" + output.string() + "'");
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_NE(run.Out.find("Pictures\\Summer\\BEACH.jpg"), std::string::npos) << run.Out;

  for (const std::string& bad :
       {std::string(""), std::string("unpack x"), std::string("pack"), std::string("pack a.kiv"),
        std::string("pack a.kiv -o x --mode zipped"), std::string("pack a.kiv -o x --data --player p"),
        std::string("pack a.kiv -o"), std::string("list"), std::string("list a b"), std::string("list a --verbose"),
        std::string("extract show.exe")}) {
    SCOPED_TRACE(bad);
    run = RunBinary(bad);
    EXPECT_EQ(run.Code, 2);
    EXPECT_NE(run.Err.find("Usage: kivshow"), std::string::npos) << run.Err;
    EXPECT_EQ(run.Out, "");
  }
  for (const char* help : {"--help", "pack --help", "list -h", "extract --help"}) {
    SCOPED_TRACE(help);
    run = RunBinary(help);
    EXPECT_EQ(run.Code, 0);
    EXPECT_TRUE(run.Out.starts_with("Usage: kivshow")) << run.Out;
  }
}

// What a user meets first: paths typed the usual ways, files that are not projects,
// earlier shows in the folder, missing pictures. One line naming the path and the
// reason, and an exit status a script can test.
TEST_F(KivShowTest, CommandsTakePathsAsTypedAndExplainBadInputInOneLine) {
  const std::string show = "[main]\r\nopt_exefn=trip\r\nopt_slidescount=1\r\nopt_synchpos1=2000\r\n"
                           "[Slide1]\r\nobject B: box\r\n  Color1=255,0,0\r\nend\r\n";
  const fs::path shows = folder / "my shows" / "Reise \u00FC";
  WriteAll(shows / "Project.kiv", show);
  WriteAll(folder / "Gone.kiv", show + "object P: image\r\n  ImageName=pics\\gone.png\r\nend\r\n");
  WriteAll(folder / "empty.kiv", "");
  WriteAll(folder / "garbage.kiv", std::string("\x89PNG\r\n\x1a\n binary", 16));
  fs::create_directories(folder / "a folder");
  for (const std::string& path : {std::string("'my shows/Reise \u00FC/Project.kiv'"),
                                  std::string("'./my shows/Reise \u00FC/Project.kiv'"),
                                  "'" + (shows / "Project.kiv").string() + "'"}) {
    SCOPED_TRACE(path);
    for (const std::string& command : {"info " + path, "render " + path + " -o frames --at 0",
                                       "pack " + path + " -o 'my shows/Reise \u00FC/trip'"}) {
      const TRun run = RunBinary(command, folder);
      EXPECT_EQ(run.Code, 0) << command << ": " << run.Err;
    }
  }
  EXPECT_TRUE(fs::exists(folder / "frames" / "frame_00000000.png"));

  struct TCase {
    std::string Arguments;
    int Code;
    std::string Says;
  };
  const TCase cases[] = {
      {"info empty.kiv", 1, "kivshow info: empty.kiv: no [main] section"},
      {"info garbage.kiv", 1, "kivshow info: garbage.kiv: no [main] section"},
      {"info 'a folder'", 1, "kivshow info: a folder: is a folder"},
      {"info none.kiv", 1, "kivshow info: none.kiv: not found"},
      {"render empty.kiv -o frames --at 0", 1, "kivshow render: empty.kiv: no [main] section"},
      {"list 'a folder'", 1, "kivshow list: a folder: is a folder"},
      {"pack 'a folder' -o x", 1, "kivshow pack: a folder: is a folder"},
      {"pack empty.kiv -o x", 1, "kivshow pack: empty.kiv: no [main] section"},
      {"pack Gone.kiv -o 'a folder'", 1, "kivshow pack: a folder: is a folder"},
      {"pack Gone.kiv -o gone", 3, "kivshow pack: missing: pics\\gone.png"},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.Arguments);
    const TRun run = RunBinary(test.Arguments, folder);
    EXPECT_EQ(run.Code, test.Code);
    EXPECT_TRUE(run.Err.starts_with(test.Says)) << run.Err;
  }
  EXPECT_FALSE(fs::exists(folder / "x"));
  EXPECT_TRUE(fs::exists(folder / "gone"));  // written all the same

  // The show packed before sits in the folder under the show's own name: the next pack
  // leaves it out instead of carrying it inside, and extracting leaves the player out.
  const TRun again = RunBinary("pack Project.kiv -o other", shows);
  ASSERT_EQ(again.Code, 0) << again.Err;
  EXPECT_LT(fs::file_size(shows / "other"), fs::file_size(shows / "trip") + 100000);
  ASSERT_EQ(RunBinary("extract other -o out", shows).Code, 0);
  EXPECT_TRUE(fs::exists(shows / "out" / "Project.kiv"));
  EXPECT_FALSE(fs::exists(shows / "out" / "kivplayer"));
}

}  // namespace
}  // namespace kiv
