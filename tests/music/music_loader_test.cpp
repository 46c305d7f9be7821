#include "music/music_loader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/text.h"
#include "container/file_accessor.h"
#include "music/kiv_music_player.h"
#include "support/bytes.h"
#include "support/log_capture.h"
#include "support/show_source.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

class MusicFiles : public TempFolderTest {
 protected:
  MusicFiles() : TempFolderTest("kiv_music_files_") {
    fs::create_directories(folder / "show" / "Sounds");
    fs::create_directories(folder / "show" / "Folder.wav");
    std::ofstream(folder / "show" / "Sounds" / "Tone.WAV") << "on disk";
    std::ofstream(folder / "show" / "beside.wav") << "beside the show";
    std::ofstream(folder / "elsewhere.wav") << "elsewhere";
  }
  std::string Read(std::u16string_view name) {
    const TSoundOpener open = MusicFileOpener(&accessor);
    std::unique_ptr<TStream> stream = open(name);
    return stream ? ReadAll(*stream) : "(none)";
  }

  TFileAccessor accessor{std::make_shared<TRealFileSource>(Utf8ToUtf16((folder / "show").string() + "/")),
                         Utf8ToUtf16((folder / "show").string() + "/")};
};

TEST_F(MusicFiles, DiskNamesAreFoundAsTheShowsLooseFilesAre) {
  const std::u16string elsewhere = Utf8ToUtf16((folder / "elsewhere.wav").string());
  struct TCase {
    std::u16string Name;
    std::string Content;
  };
  for (const TCase& c : std::vector<TCase>{
           {u"LoadFromDisk:Sounds/Tone.WAV", "on disk"},
           {u"LoadFromDisk:sounds\\tone.wav", "on disk"},  // other separators, other case
           {u"LoadFromDisk:" + elsewhere, "elsewhere"},      // absolute
           {u"LoadFromDisk:C:\\Shows\\Old\\BESIDE.wav", "beside the show"},  // another machine's path
           {u"LoadFromDisk:Folder.wav", "(none)"},                          // not a regular file
           {u"LoadFromDisk:", "(none)"},
           {u"LoadFromDisk:missing.wav", "(none)"},
           {u"beside.wav", "beside the show"},  // a file of the show, through its accessor
       })
    EXPECT_EQ(Read(c.Name), c.Content) << Utf16ToUtf8(c.Name);
}

TEST_F(MusicFiles, WithoutAShowOnlyAbsoluteDiskNamesOpen) {
  const TSoundOpener open = MusicFileOpener(nullptr);
  EXPECT_FALSE(open(u"beside.wav"));
  EXPECT_FALSE(open(u"LoadFromDisk:beside.wav"));
  EXPECT_TRUE(open(u"LoadFromDisk:" + Utf8ToUtf16((folder / "elsewhere.wav").string())));
}

TEST(MusicPlayerOfAShow, NeedsItsShowAndNeverLoadsTheShowsDecoderLibraries) {
  EXPECT_THROW(TKivMusicPlayer(static_cast<const TKivSource*>(nullptr), {}), EAssertionFailed);
  testing::TLogCapture log;
  const auto show = SourceOf("[main]\nopt_slidescount=1\nopt_synchpos1=1000\nopt_wmapath=wma.dll\nopt_oggpath=ogg.dll\n");
  {
    TKivMusicPlayer first(show.get(), {});
    TKivMusicPlayer second(show.get(), {});
    EXPECT_FLOAT_EQ(first.GetVolume(), 0) << "no sound output";
  }
  EXPECT_EQ(log.Count("libraries from a show are never loaded"), 1u) << "said once";
}

}  // namespace
}  // namespace kiv
