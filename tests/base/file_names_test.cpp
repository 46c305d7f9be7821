#include <gtest/gtest.h>

#include "base/file_names.h"

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

}  // namespace
}  // namespace kiv
