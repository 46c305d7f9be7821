// kivshow export end to end: a packed show of coloured slides exported by the built
// kivshow and read back with ffprobe and ffmpeg. The file has a video and a sound
// stream of the asked rate, size and length; its frames at a fade and at a cut are those
// kivshow render draws at the same show times (one frame off would show another step
// of the fade); an export stopped by SIGINT or SIGTERM leaves a complete, shorter file;
// bad command lines are explained before anything is written.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <regex>
#include <sstream>
#include <thread>

#include "kivshow/kivshow_command.h"
#include "sound/sound_test_support.h"
#include "support/build_folder.h"
#include "tools/show_frames.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using testing::LoadFrame;
using testing::RunKivShowBinary;

// The exported span: from 400 ms to 2600 ms at 25 frames per second, frame k at
// 400 + 40 k ms.
constexpr int kFrom = 400, kTo = 2600, kFps = 25;
constexpr int kFrameMs = 1000 / kFps;
// A channel of a decoded frame may stray this far from the rendered picture (4:2:0
// colours and the encoder's loss); the few pixels along colour edges may stray further.
constexpr int kChannelTolerance = 8;
constexpr double kEdgeShare = 0.03;

// The fields ffprobe prints for path: the format's by their names ("duration"), each
// stream's under its kind ("video.width", "audio.nb_read_frames").
std::map<std::string, std::string> Probe(const fs::path& path) {
  const std::vector<uint8_t> bytes = test::CommandOutput(
      "ffprobe -v error -count_frames -show_entries "
      "stream=codec_type,width,height,r_frame_rate,nb_read_frames:format=duration -of flat '" +
      path.string() + "'");
  std::istringstream lines(std::string(bytes.begin(), bytes.end()));
  const std::regex line(R"re(^(?:streams\.stream\.(\d+)|format)\.(\w+)="?([^"]*)"?$)re");
  std::map<std::string, std::map<std::string, std::string>> streams;
  std::map<std::string, std::string> fields;
  std::smatch m;
  for (std::string text; std::getline(lines, text);)
    if (std::regex_match(text, m, line)) (m[1].matched ? streams[m[1]] : fields)[m[2]] = m[3];
  for (auto& [index, stream] : streams) {
    const std::string kind = stream["codec_type"];
    for (const auto& [key, value] : stream) fields.emplace(kind + "." + key, value);
  }
  return fields;
}

class ExportTest : public ::testing::Test {
 protected:
  static inline fs::path folder;
  static inline std::string failure;

  // A red slide, a blue one with a yellow left half that fades in over 800 ms, a green
  // one that cuts in, then grey slides that make the show long enough to interrupt.
  static void SetUpTestSuite() {
    folder = fs::temp_directory_path() / ("kiv_export_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::vector<testing::TColourSlide> slides = {
        {0xFF0000, {}, "", ""}, {0x0000FF, 0xFFFF00, "", testing::ChangeKeys(2, 1, 800)}, {0x00FF00, {}, "", ""}};
    for (int i = 0; i < 40; ++i) slides.push_back({i % 2 ? 0x606060u : 0xA0A0A0u, {}, "", ""});
    failure = testing::PackAndRender(folder, testing::ColourShow(320, 180, 1000, slides), "320x180", "1200,1960,2000");
    if (!failure.empty()) return;
    const std::string span = " --fps " + std::to_string(kFps) + " --from " + std::to_string(kFrom) + " --to " +
                             std::to_string(kTo);
    if (RunKivShowBinary(folder, "export show.KvShow -o out.mp4" + span, folder / "export.txt") != 0)
      failure = "export failed: " + ReadAll(folder / "export.txt");
  }
  static void TearDownTestSuite() { fs::remove_all(folder); }

  void SetUp() override {
    if (!failure.empty()) FAIL() << failure;
  }
};

TEST_F(ExportTest, TheFileHoldsVideoAndSoundOfTheAskedRateSizeAndLength) {
  std::map<std::string, std::string> probe = Probe(folder / "out.mp4");
  EXPECT_EQ(probe["video.width"], "320");
  EXPECT_EQ(probe["video.height"], "180");
  EXPECT_EQ(probe["video.r_frame_rate"], "25/1");
  EXPECT_EQ(probe["video.nb_read_frames"], std::to_string((kTo - kFrom) / kFrameMs));
  EXPECT_FALSE(probe["audio.nb_read_frames"].empty()) << "no sound stream";
  EXPECT_NEAR(std::atof(probe["duration"].c_str()), (kTo - kFrom) / 1000.0, kFrameMs / 1000.0);
  EXPECT_NE(ReadAll(folder / "export.txt").find("Exported 55 frames (2.200 s) of 320x180 at 25 fps"),
            std::string::npos)
      << ReadAll(folder / "export.txt");
}

// Half way through the fade, the last frame before the cut and the first after it.
TEST_F(ExportTest, FramesAreTheRenderedPicturesOfTheSameShowTime) {
  for (const int time : {1200, 1960, 2000}) {
    const int index = (time - kFrom) / kFrameMs;
    const fs::path decoded = folder / ("decoded_" + std::to_string(time) + ".png");
    ASSERT_TRUE(test::Ran("ffmpeg -v error -y -i '" + (folder / "out.mp4").string() + "' -vf 'select=eq(n\\," +
                          std::to_string(index) + ")' -frames:v 1 '" + decoded.string() + "'"));
    const std::shared_ptr<const TBitmap> frame = LoadFrame(decoded);
    const std::shared_ptr<const TBitmap> rendered = LoadFrame(folder / "render" / testing::FrameName(time));
    ASSERT_TRUE(frame && rendered) << time;
    ASSERT_EQ(frame->Width(), rendered->Width());
    ASSERT_EQ(frame->Height(), rendered->Height());
    EXPECT_LE(testing::DifferentPixels(*frame, *rendered, kChannelTolerance),
              int(kEdgeShare * frame->Width() * frame->Height()))
        << "frame " << index << " of the file is not the show at " << time << " ms";
  }
}

// Starts the built kivshow with arguments, its standard error going to errors.
pid_t StartKivShow(const std::vector<std::string>& arguments, const fs::path& errors) {
  const std::string program = (fs::path(testing::BuildFolder()) / "kivshow").string();
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t child = -1;
  if (posix_spawn(&child, program.c_str(), &files, nullptr, argv.data(), environ) != 0) child = -1;
  posix_spawn_file_actions_destroy(&files);
  return child;
}

// Whether a progress line in errors reports at least frames frames, waiting up to a minute.
bool ReachedFrames(const fs::path& errors, int frames) {
  const std::regex line(R"re(export: \d+%  (\d+)/\d+ frames)re");
  for (auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
       std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
    const std::string text = ReadAll(errors);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator(); ++it)
      if (std::stoi((*it)[1]) >= frames) return true;
  }
  return false;
}

TEST_F(ExportTest, AStoppedExportLeavesACompleteShorterFile) {
  ASSERT_TRUE(testing::BuildFolder());
  for (const auto& [signal, name] : {std::pair{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}}) {
    const fs::path video = folder / (std::string(name) + ".mp4");
    const fs::path errors = folder / (std::string(name) + ".txt");
    const pid_t child = StartKivShow({"export", (folder / "show.KvShow").string(), "-o", video.string()}, errors);
    ASSERT_GT(child, 0);
    const bool reached = ReachedFrames(errors, 30);
    ::kill(child, signal);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(reached) << ReadAll(errors);
    ASSERT_TRUE(WIFEXITED(status)) << name << " ended the export without a clean stop";
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    const std::string said = ReadAll(errors);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(said, m, std::regex("stopped by " + std::string(name) + R"re( after (\d+) of 1075 frames)re")))
        << said;
    const int frames = std::stoi(m[1]);
    EXPECT_GE(frames, 30);
    std::map<std::string, std::string> probe = Probe(video);
    EXPECT_EQ(probe["video.nb_read_frames"], std::to_string(frames)) << name;
    EXPECT_FALSE(probe["audio.nb_read_frames"].empty()) << name;
    EXPECT_NEAR(std::atof(probe["duration"].c_str()), frames * kFrameMs / 1000.0, kFrameMs / 1000.0) << name;
  }
}

TEST_F(ExportTest, BadCommandLinesAreExplained) {
  const std::string show = (folder / "show.KvShow").string();
  const std::string out = (folder / "bad.mp4").string();
  struct TCase {
    std::vector<std::string> Words;
    int Code;
    std::string Message;
  };
  const TCase cases[] = {
      {{"export", show}, 2, "kivshow export: name the video file with -o"},
      {{"export", show, "-o", (folder / "bad.avi").string()}, 2, "has an unknown extension: name a video file ending in .mp4"},
      {{"export", show, "-o", "/no/such/folder/out.mp4"}, 1, "cannot write /no/such/folder/out.mp4: "},
      {{"export", show, "-o", out, "--size", "big"}, 2, "size \"big\" is not written WxH"},
      {{"export", show, "-o", out, "--size", "321x180"}, 2, "size \"321x180\": a video needs even sides"},
      {{"export", show, "-o", out, "--fps", "0"}, 2, "--fps \"0\": give frames per second above 0 and at most 240"},
      {{"export", show, "-o", out, "--fps", "fast"}, 2, "--fps \"fast\": give frames per second"},
      {{"export", show, "-o", out, "--from", "-5"}, 2, "--from \"-5\" is no time"},
      {{"export", show, "-o", out, "--to", "1s"}, 2, "--to \"1s\" is no time"},
      {{"export", show, "-o", out, "--from", "900", "--to", "100"}, 2, "--to 100 lies before --from 900"},
      {{"export", show, "-o", out, "--from", "900", "--to", "900"}, 2, "there is nothing to export"},
      {{"export", show, "-o", out, "--to", "43001"}, 1, "the show ends at 43000 ms; --to 43001 lies after it"},
  };
  for (const TCase& c : cases) {
    std::ostringstream output, errors;
    EXPECT_EQ(RunKivShow(c.Words, output, errors), c.Code) << errors.str();
    EXPECT_NE(errors.str().find(c.Message), std::string::npos) << errors.str();
  }
  EXPECT_FALSE(fs::exists(out)) << "no file is made for an export that cannot start";
}

}  // namespace
}  // namespace kiv
