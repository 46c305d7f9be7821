#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/text.h"
#include "platform/file_names.h"
#include "platform/loose_files.h"

namespace kiv {
namespace {

TEST(FileNames, ExtensionFolderAndAbsolutePath) {
  EXPECT_EQ(ChangeFileExtension(u"/opt/x/kivplayer", u".log"), u"/opt/x/kivplayer.log");
  EXPECT_EQ(ChangeFileExtension(u"/opt/x.d/kivplayer", u".log"), u"/opt/x.d/kivplayer.log");
  EXPECT_EQ(ChangeFileExtension(u"/opt/x/show.exe", u".KvShow"), u"/opt/x/show.KvShow");
  EXPECT_EQ(ChangeFileExtension(u"/opt/x/my.show.scr", u".log"), u"/opt/x/my.show.log");
  EXPECT_EQ(FileFolder(u"/opt/x/kivplayer"), u"/opt/x/");
  EXPECT_EQ(FileFolder(u"kivplayer"), u"");
  EXPECT_EQ(FileNameOf(u"/opt/x/kivplayer"), u"kivplayer");
  EXPECT_EQ(AbsolutePath(u"show.kiv", u"/opt/x/"), u"/opt/x/show.kiv");
  EXPECT_EQ(AbsolutePath(u"../y/./show.kiv", u"/opt/x/"), u"/opt/y/show.kiv");
  EXPECT_EQ(AbsolutePath(u"/srv/show.kiv", u"/opt/x/"), u"/srv/show.kiv");
}

TEST(FileNames, WindowsSeparatorsSplitToo) {
  EXPECT_EQ(FileNameOf(u"C:\\Shows\\Trip\\photo.JPG"), u"photo.JPG");
  EXPECT_EQ(FileFolder(u"C:\\Shows\\Trip\\photo.JPG"), u"C:\\Shows\\Trip\\");
  EXPECT_EQ(FileNameOf(u"Pictures/a\\b.png"), u"b.png");
  EXPECT_EQ(ChangeFileExtension(u"C:\\x.d\\show", u".KvShow"), u"C:\\x.d\\show.KvShow");
}

TEST(LooseFiles, FoundAsWrittenOrIgnoringCaseWithEitherSeparator) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / "kiv_loose_files_test";
  fs::remove_all(root);
  fs::create_directories(root / "Pictures" / "Summer");
  std::ofstream(root / "Pictures" / "Summer" / "Beach.JPG") << "x";
  std::ofstream(root / "Pictures" / "Summer" / "beach.jpg") << "y";
  const std::u16string base = Utf8ToUtf16(root.string());

  EXPECT_EQ(FindLooseFile(base + u"/Pictures/Summer/Beach.JPG"), (root / "Pictures/Summer/Beach.JPG").string());
  // The exact spelling wins over a case-insensitive match.
  EXPECT_EQ(FindLooseFile(base + u"\\Pictures\\Summer\\beach.jpg"), (root / "Pictures/Summer/beach.jpg").string());
  std::string matched = FindLooseFile(base + u"\\PICTURES\\summer\\BEACH.jpg");
  EXPECT_TRUE(matched == (root / "Pictures/Summer/Beach.JPG").string() ||
              matched == (root / "Pictures/Summer/beach.jpg").string())
      << matched;
  EXPECT_EQ(FindLooseFile(base + u"/pictures/../Pictures/summer/beach.JPG").empty(), false);
  EXPECT_EQ(FindLooseFile(base + u"/Pictures/Summer"), "");  // folders are not files
  EXPECT_EQ(FindLooseFile(base + u"/Pictures/Winter/Beach.JPG"), "");
  EXPECT_EQ(FindLooseFile(u""), "");
  fs::remove_all(root);
}

}  // namespace
}  // namespace kiv
