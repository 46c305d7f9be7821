// The sound stream registry: names with a stream number, shifted views, the opener.
#include <gtest/gtest.h>

#include "base/memory_stream.h"
#include "sound/sound_streams.h"

namespace kiv {
namespace {

TEST(SoundStreamsTest, SplitsAtTheLastQuestionMarkBeforeANumber) {
  const struct {
    std::u16string_view Name, File;
    int32_t Number;
  } cases[] = {
      {u"film.mkv?1", u"film.mkv", 1},     {u"a?b.avi?12", u"a?b.avi", 12}, {u"song.mp3", u"song.mp3", -1},
      {u"odd?.wav", u"odd?.wav", -1},      {u"what?x1", u"what?x1", -1},    {u"x?1234567890", u"x?1234567890", -1},
      {u"clip.mp4?0", u"clip.mp4", 0},
  };
  for (const auto& c : cases) {
    const TSoundName split = SplitSoundName(c.Name);
    EXPECT_EQ(split.File, c.File);
    EXPECT_EQ(split.StreamNumber, c.Number);
  }
}

TEST(SoundStreamsTest, OpensThroughTheOpenerWithoutTheStreamNumber) {
  std::u16string asked;
  const TSoundOpener open = [&](std::u16string_view name) -> std::unique_ptr<TStream> {
    asked = name;
    if (name != u"show/movie.avi") return nullptr;
    return std::make_unique<TMemoryStream>(std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  };
  EXPECT_EQ(OpenSoundStream(u"missing.wav", open), nullptr);
  std::unique_ptr<TStream> stream = OpenSoundStream(u"show/movie.avi?2", open);
  EXPECT_EQ(asked, u"show/movie.avi");
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream->GetSize(), 10);
  EXPECT_THROW(stream->Write("x", 1), EStreamError);
  EXPECT_EQ(OpenSoundStream(u"/no/such/folder/sound.wav", nullptr), nullptr);
}

// A view that starts later: its position, size and seeks leave out the skipped bytes.
TEST(SoundStreamsTest, ShiftedViewStartsLater) {
  const TSoundOpener open = [](std::u16string_view) -> std::unique_ptr<TStream> {
    return std::make_unique<TMemoryStream>(std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  };
  std::unique_ptr<TStream> view = OpenSoundStream(u"x", open, 4);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->GetSize(), 6);
  EXPECT_EQ(view->GetPosition(), 0);
  EXPECT_EQ(view->ReadByte(), 4);
  view->SetPosition(5);
  EXPECT_EQ(view->ReadByte(), 9);
  EXPECT_EQ(LibrarySeek(*view, -2, 2), 4);
  EXPECT_EQ(view->ReadByte(), 8);
  EXPECT_EQ(LibrarySeek(*view, -1, 1), 4);
  EXPECT_EQ(LibrarySeek(*view, 0, 7), -1);  // no such origin
  EXPECT_EQ(LibrarySeek(*view, -5, 0), -1);
  EXPECT_THROW(view->SetSize(3), EStreamError);
}

TEST(SoundStreamsTest, LibraryReadsAreBounded) {
  TMemoryStream stream(std::vector<uint8_t>(16, 7));
  uint8_t buffer[16];
  EXPECT_EQ(LibraryRead(stream, buffer, 16), 16);
  EXPECT_EQ(LibraryRead(stream, buffer, kMaxLibraryRead + 1), -1);
  EXPECT_EQ(LibraryRead(stream, buffer, -1), -1);
}

}  // namespace
}  // namespace kiv
