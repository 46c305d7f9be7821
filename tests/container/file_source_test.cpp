// Loose files through a FileMap, show entries through the accessor, orientations,
// and temporary folders.
#include <sys/wait.h>

#include <memory>
#include <thread>

#include "base/memory_stream.h"
#include "base/progress_hook.h"
#include "base/text.h"
#include "container/file_accessor.h"
#include "container/file_map_line.h"
#include "container/kiv_pack.h"
#include "container/temp_folders.h"
#include "container_test_support.h"
#include "ini/ini_file.h"
#include "platform/termination.h"
#include "support/bytes.h"
#include "support/project_text.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

TEST(KivShowFileMap, LinesSplitAtTheFirstEqualsOutsideQuotes) {
  auto line = ParseFileMapLine(u"  \"a b\" = c.jpg ");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->Name, u"a b");
  EXPECT_EQ(line->Target, u"c.jpg");
  line = ParseFileMapLine(u";\"x=y\"=\"C:\\p\\q=r.png\"");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->Name, u"x=y");
  EXPECT_EQ(line->Target, u"C:\\p\\q=r.png");
  EXPECT_FALSE(ParseFileMapLine(u"a="));
  EXPECT_FALSE(ParseFileMapLine(u" =b"));
  EXPECT_FALSE(ParseFileMapLine(u"\"\"=b"));
  EXPECT_FALSE(ParseFileMapLine(u"no mapping"));
  EXPECT_FALSE(ParseFileMapLine(u"\"a=b\""));
}

TEST(FileMap, NamesMapIgnoringCaseToTheirFirstTarget) {
  auto project = ParseProject(
      "[FileMap]\r\n\"a b\"=c.jpg\r\n;\"C:\\Pics\\x [1].png\"=\"pics\\x.png\"\r\nA B=second.jpg\r\n=ignored\r\n"
      "empty=\r\n[RotationState]\r\n;\"C:\\Pics\\Up.jpg\"=6\r\n  ;\"Down.jpg\"=3  \r\n;\"odd.jpg\"=5\r\n"
      ";\"\"=8\r\n;\"eight.jpg\"=8\r\n");
  TFileMap map;
  map.Load(project->FindSection(u"filemap"));
  ASSERT_NE(map.Target(u"A B"), nullptr);
  EXPECT_EQ(*map.Target(u"A B"), u"c.jpg");
  EXPECT_EQ(*map.Target(u"c:\\pics\\X [1].PNG"), u"pics\\x.png");
  EXPECT_EQ(map.Target(u"empty"), nullptr);
  EXPECT_EQ(map.Target(u"c.jpg"), nullptr);

  TRotationTable rotations;
  rotations.Load(project->FindSection(u"RotationState"));
  EXPECT_EQ(rotations.Orientation(u"c:\\pics\\up.JPG"), 6);
  EXPECT_EQ(rotations.Orientation(u"Down.jpg"), 3);
  EXPECT_EQ(rotations.Orientation(u"eight.jpg"), 8);
  EXPECT_EQ(rotations.Orientation(u"odd.jpg"), 1);  // 5 is no orientation this table keeps
  EXPECT_EQ(rotations.Orientation(u"unknown.jpg"), 1);
}

class FileSourceTest : public TempFolderTest {};

TEST_F(FileSourceTest, MappedNamesOpenTheirTargetsAndLoopsEnd) {
  PutFileBytes(folder / "real.txt", {'r', 'e', 'a', 'l'});
  auto project = ParseProject(
      "[FileMap]\r\n\"C:\\Shows\\Trip\\Photo 1.txt\"=real.txt\r\nloop1=loop2\r\nloop2=loop1\r\nself=self\r\n");
  auto source = std::make_shared<TMappedFileSource>(Utf8ToUtf16(folder.string()) + u"/");
  source->LoadMaps(*project);
  TFileAccessor accessor(source, Utf8ToUtf16(folder.string()) + u"/");
  EXPECT_EQ(ReadAll(accessor.OpenStream(u"c:\\shows\\trip\\photo 1.TXT").get()), "real");
  EXPECT_EQ(ReadAll(accessor.OpenStream(u"REAL.TXT").get()), "real");  // loose file, case ignored
  EXPECT_EQ(accessor.OpenStream(u"loop1"), nullptr);
  EXPECT_EQ(accessor.OpenStream(u"self"), nullptr);
  EXPECT_EQ(accessor.OpenStream(u"missing.txt"), nullptr);
}

TEST_F(FileSourceTest, ShowEntriesComeThroughTheAccessorWithProgressAndTheReadHook) {
  std::vector<uint8_t> big(200000);
  for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i * 13);
  {
    TFileStream out((folder / "show").string(), TFileMode::Create);
    TKivPack pack(out);
    pack.AddBytes(u"Pictures\\big.bin", big, TPackMode::Enciphered);
    pack.AddBytes(u"small.txt", std::vector<uint8_t>{'h', 'i'}, TPackMode::Deflated);
    pack.Finish({u"1.0", false, false});
  }
  auto container = std::make_unique<TKivUnpack>((folder / "show").string());
  ASSERT_TRUE(container->Usable());
  auto source = std::make_shared<TPackedFileSource>(std::move(container));
  source->LoadMaps(*ParseProject("[FileMap]\r\nalias.txt=small.txt\r\n"));
  TFileAccessor accessor(source, u"/nowhere/");

  SetProgressMode(TProgressMode::Stop);  // cheap to call, and proves the hook is reached
  std::unique_ptr<TStream> entry = accessor.OpenStream(u"pictures\\BIG.bin");
  SetProgressMode(TProgressMode::None);
  ASSERT_NE(entry, nullptr);
  std::vector<uint8_t> read(big.size());
  entry->ReadBuffer(read.data(), int64_t(read.size()));
  EXPECT_EQ(read, big);
  EXPECT_EQ(ReadAll(accessor.OpenStream(u"ALIAS.TXT").get()), "hi");

  accessor.SetReadHook([](std::u16string_view name, std::unique_ptr<TStream> stream) -> std::unique_ptr<TStream> {
    if (name != u"small.txt") return stream;
    return std::make_unique<TMemoryStream>(std::vector<uint8_t>{'n', 'e', 'w'});
  });
  EXPECT_EQ(ReadAll(accessor.OpenStream(u"small.txt").get()), "new");
}

TEST_F(FileSourceTest, ResolvePathFallsBackToTheBaseFolder) {
  PutFileBytes(folder / "clip.mp4", {'v'});
  auto source = std::make_shared<TRealFileSource>();
  TFileAccessor accessor(source, Utf8ToUtf16(folder.string()) + u"/");
  std::u16string name = u"D:\\Authoring\\Videos\\CLIP.MP4";
  ASSERT_TRUE(accessor.ResolvePath(name));
  EXPECT_EQ(name, Utf8ToUtf16((folder / "clip.mp4").string()));
  EXPECT_EQ(ReadAll(accessor.OpenRealFile(u"X:\\clip.mp4").get()), "v");
  std::u16string missing = u"D:\\nothing.mp4";
  EXPECT_FALSE(accessor.ResolvePath(missing));
  EXPECT_EQ(missing, u"D:\\nothing.mp4");
}

TEST_F(FileSourceTest, TemporaryFoldersAreNewEveryTimeAndRemovedAtTheEnd) {
  setenv("TMPDIR", folder.c_str(), 1);
  const std::string a = MakeTempFolder(true), b = MakeTempFolder(false);
  unsetenv("TMPDIR");
  EXPECT_EQ(a.back(), '/');
  EXPECT_NE(a.substr(0, a.size() - 1), b);
  EXPECT_EQ(fs::path(b).parent_path(), folder);
  EXPECT_EQ(fs::path(b).filename().string().size(), 38u);  // "[" + 36 + "]"
  PutFileBytes(fs::path(a) / "inside.bin", {1});
  RemoveTempFolders();
  EXPECT_FALSE(fs::exists(a));
  EXPECT_FALSE(fs::exists(b));

  setenv("TMPDIR", "/proc", 1);  // exists, but nothing can be made there
  EXPECT_THROW(MakeTempFolder(false), EKivError);
  unsetenv("TMPDIR");
}

TEST_F(FileSourceTest, TemporaryFoldersGoWhenTheProgramIsTerminated) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  pid_t child = fork();
  if (child == 0) {
    InstallTerminationWatcher();
    setenv("TMPDIR", folder.c_str(), 1);
    const std::string made = MakeTempFolder(false);
    (void)!write(fds[1], made.c_str(), made.size());
    close(fds[1]);
    kill(getpid(), SIGTERM);
    for (;;) pause();
  }
  close(fds[1]);
  char path[512] = {};
  ASSERT_GT(read(fds[0], path, sizeof path - 1), 0);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace kiv
