// The video file writer on its own: each container plays back, a machine without the
// wanted encoders still gets a playable file from the fallbacks (and is told so),
// failures to start leave no file,
// a finished file takes nothing more. And Ctrl+C as a stop request: noted, not fatal,
// and handed back when the request object goes.
#include "platform/video_file_writer.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/stop_request.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

// What ffprobe says of each stream: "video mpeg4 10" (kind, codec, frames), a line each.
std::string Streams(const fs::path& path) {
  std::string said;
  const std::string command = "ffprobe -v error -count_frames -show_entries stream=codec_type,codec_name,nb_read_frames "
                              "-of csv=p=0 '" + path.string() + "' 2>/dev/null";
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char piece[256];
    while (std::fgets(piece, sizeof piece, pipe)) said += piece;
    ::pclose(pipe);
  }
  return said;
}

TVideoFileSettings SmallVideo(const fs::path& path) {
  TVideoFileSettings settings;
  settings.Path = path.string();
  settings.Width = 64;
  settings.Height = 48;
  return settings;
}

// Each container with the wanted encoders, and with fallbacks when the wanted ones are
// missing: ten pictures and their sound come back as ten frames in streams of the
// encoders used.
TEST(VideoFileWriter, WritesEachContainerAndFallsBackWhenTheWantedEncodersAreMissing) {
  const TTestFolder folder("kiv_video_");
  const std::vector<std::string> none = {"kiv-no-such-encoder"};
  struct TCase {
    std::string Name;
    std::vector<std::string> VideoEncoders, SoundEncoders;
    std::string Video, Sound;  // the names told, and those ffprobe reads
    std::string VideoRead, SoundRead;
  };
  const TCase cases[] = {
      {"wanted.mp4", kVideoEncoders, kSoundEncoders, "H.264", "AAC", "h264", "aac"},
      {"wanted.mov", kVideoEncoders, kSoundEncoders, "H.264", "AAC", "h264", "aac"},
      {"fallback.m4v", {none[0], "mpeg4"}, kSoundEncoders, "MPEG-4 part 2", "AAC", "mpeg4", "aac"},
      {"fallback.mkv", {none[0], "mpeg4"}, {none[0], "mp2"}, "MPEG-4 part 2", "MPEG audio layer 2", "mpeg4", "mp2"},
  };
  for (const TCase& c : cases) {
    TVideoFileSettings settings = SmallVideo(folder.Path() / c.Name);
    settings.VideoEncoders = c.VideoEncoders;
    settings.SoundEncoders = c.SoundEncoders;
    std::string error;
    std::unique_ptr<TVideoFileWriter> writer = TVideoFileWriter::Open(settings, error);
    ASSERT_TRUE(writer) << c.Name << ": " << error;
    EXPECT_EQ(writer->VideoCodec().Name, c.Video) << c.Name;
    EXPECT_EQ(writer->SoundCodec().Name, c.Sound) << c.Name;
    EXPECT_EQ(writer->VideoCodec().Fallback, c.VideoEncoders != kVideoEncoders) << c.Name;
    EXPECT_EQ(writer->SoundCodec().Fallback, c.SoundEncoders != kSoundEncoders) << c.Name;
    if (writer->VideoCodec().Fallback) {
      EXPECT_EQ(writer->VideoCodec().Wanted, none[0]);
    }

    std::vector<uint8_t> picture(64 * 48 * 4);
    const std::vector<int16_t> sound(1764 * 2, 1000);
    for (int frame = 0; frame < 10; ++frame) {
      std::fill(picture.begin(), picture.end(), uint8_t(frame * 20));
      ASSERT_TRUE(writer->WritePicture(picture.data(), 64 * 4, TPixelLayout::Bgra32)) << writer->Error();
      ASSERT_TRUE(writer->WriteSound(sound.data(), 1764)) << writer->Error();
    }
    ASSERT_TRUE(writer->Finish()) << writer->Error();
    EXPECT_FALSE(writer->WritePicture(picture.data(), 64 * 4, TPixelLayout::Bgra32));
    EXPECT_EQ(writer->PicturesWritten(), 10);
    const std::string streams = Streams(settings.Path);
    EXPECT_NE(streams.find(c.VideoRead + ",video,10"), std::string::npos) << c.Name << ": " << streams;
    EXPECT_NE(streams.find(c.SoundRead + ",audio"), std::string::npos) << c.Name << ": " << streams;
  }
}

TEST(VideoFileWriter, AFileThatCannotBeMadeIsExplainedAndLeftOut) {
  const TTestFolder folder("kiv_video_");
  struct TCase {
    std::string Name;
    std::vector<std::string> VideoEncoders;
    int Width;
    std::string Message;
  };
  const TCase cases[] = {
      {"clip.avi", kVideoEncoders, 64, "unknown extension; name a video file ending in .mp4 .m4v .mov .mkv"},
      {"no/such/folder/clip.mp4", kVideoEncoders, 64, "cannot write "},
      {"clip.mp4", {"kiv-no-such-encoder"}, 64, "no video encoder for "},
      {"clip.mp4", kVideoEncoders, 63, "a video needs even sides"},
  };
  for (const TCase& c : cases) {
    TVideoFileSettings settings = SmallVideo(folder.Path() / c.Name);
    settings.VideoEncoders = c.VideoEncoders;
    settings.Width = c.Width;
    std::string error;
    EXPECT_FALSE(TVideoFileWriter::Open(settings, error)) << c.Name;
    EXPECT_NE(error.find(c.Message), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(settings.Path)) << c.Name;
  }
}

TEST(StopRequests, NoteTheSignalAndGiveItBackAfterwards) {
  for (const auto& [signal, name] : {std::pair{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}}) {
    {
      const TStopRequests stops;
      EXPECT_FALSE(stops.Requested());
      ASSERT_EQ(::raise(signal), 0);  // the test lives on
      EXPECT_TRUE(stops.Requested());
      EXPECT_EQ(stops.SignalName(), name);
      EXPECT_EQ(stops.ExitCode(), 128 + signal);
    }
    struct sigaction now {};
    ::sigaction(signal, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL) << name;
  }
}

}  // namespace
}  // namespace kiv
