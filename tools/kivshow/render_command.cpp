// kivshow render: frames of a show at chosen times, as PNG files.
#include <algorithm>
#include <chrono>
#include <climits>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/log.h"
#include "base/text.h"
#include "kivshow/export_progress.h"
#include "kivshow/kivshow_command.h"
#include "kivshow/opened_show.h"
#include "kivshow/png_writer.h"
#include "kivshow/render_times.h"
#include "kivshow/repeatable_random.h"
#include "kivshow/show_renderer.h"
#include "model/kiv_dialog.h"
#include "model/kiv_source.h"
#include "model/slide_area.h"

namespace kiv {

namespace {

namespace fs = std::filesystem;

// Renders of more frames than this report how far they have come.
constexpr size_t kQuietFrames = 10;

constexpr char kUsage[] =
    "Usage: kivshow render <show or project file> -o <folder> [--size WxH] [--wav <file>] [--dialog <name>]\n"
    "                      [--snapshot]\n"
    "                      (--at <t1,t2,...> | --fps <n> [--from <ms>] [--to <ms>])\n"
    "\n"
    "Plays the show through the player's engine, slide loader and drawer in a hidden\n"
    "window and writes the frames at the chosen show times (milliseconds) as\n"
    "<folder>/frame_<ms>.png, the time written with at least 8 digits so that the\n"
    "names sort in time order (frame_00002500.png). The show stands still at each time until its frame is\n"
    "complete, so the same show and options give the same frames every run. No display\n"
    "is needed: frames are always drawn offscreen. The show's music plays on the\n"
    "render's clock, so pictures follow it as they do in the player. The show's logo and\n"
    "navigation panel are drawn over the slides as the player shows them before the\n"
    "pointer moves.\n"
    "\n"
    "Options:\n"
    "  -o, --output <folder>  where the frames go (made when missing)\n"
    "  --size <WxH>           frame size in pixels (default: the show's own size)\n"
    "  --at <t1,t2,...>       the show times to render\n"
    "  --fps <n>              render n frames per second of show time ...\n"
    "  --from <ms>            ... from this time (default 0)\n"
    "  --to <ms>              ... to this time (default: the end of the show)\n"
    "  --wav <file>           also write the show's sound from the first frame's time\n"
    "                         to the last as a WAV file (44.1 kHz stereo 16-bit)\n"
    "  --dialog <name>        show the show's dialog of that name (\"help\" for the help\n"
    "                         page) over the slides, fully open from the first frame\n"
    "  --snapshot             write what the player prints instead: the slides alone, without\n"
    "                         the logo, the panel or a dialog, at the show's own size\n"
    "  --log                  write the player's log to standard error\n";

constexpr TOptionSpec kOptions[] = {
    {"--output", "-o", true, false}, {"--size", "", true, false}, {"--at", "", true, false},
    {"--fps", "", true, false},      {"--from", "", true, false}, {"--to", "", true, false},
    {"--log", "", false, false},     {"--wav", "", true, false},  {"--dialog", "", true, false},
    {"--snapshot", "", false, false},
};

// The player's log on standard error while the command runs, when asked for.
class TRenderLog {
 public:
  explicit TRenderLog(bool wanted) : FWanted(wanted) {
    if (FWanted) SetLog(std::make_unique<TStdLog>());
  }
  ~TRenderLog() {
    if (FWanted) SetLog(nullptr);
  }

 private:
  bool FWanted;
};

// The times the command line asks for; a show that does not repeat has no frames past
// its end.
std::vector<int32_t> WantedTimes(const TCommandArguments& arguments, const TKivSource& show) {
  if (arguments.Has("--at") == arguments.Has("--fps")) throw EUsageError("give either --at or --fps");
  const auto length = int32_t(std::min(show.Duration(), double(INT32_MAX)));
  std::vector<int32_t> times;
  if (arguments.Has("--at")) {
    if (arguments.Has("--from") || arguments.Has("--to")) throw EUsageError("--from and --to go with --fps");
    times = ParseTimeList(arguments.Value("--at"));
  } else {
    const int32_t from = arguments.Has("--from") ? ParseTimeOption("--from", arguments.Value("--from")) : 0;
    const int32_t to = arguments.Has("--to") ? ParseTimeOption("--to", arguments.Value("--to")) : length;
    if (from > to) throw EUsageError("--from lies after --to");
    times = SteppedTimes(ParseFramesPerSecond(arguments.Value("--fps")), from, to);
  }
  if (show.EndMode() != TEndMode::Repeat && times.back() > length)
    throw EKivError("the show ends at " + std::to_string(length) + " ms; there is no frame at " +
                    std::to_string(times.back()) + " ms");
  return times;
}

TPixelSize FrameSize(const TCommandArguments& arguments, const TKivSource& show) {
  if (arguments.Has("--size")) return ParseFrameSize(arguments.Value("--size"));
  const TPixelSize design = ReadShowDesign(show.MainSection()).Size;
  return {std::clamp(design.Width, kMinFrameSide, kMaxFrameSide), std::clamp(design.Height, kMinFrameSide, kMaxFrameSide)};
}

void MakeFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) throw EKivError(folder.string() + ": no folder to write the frames into");
}

// "frame_00002500.png": names of at least 8 digits sort in time order (27 hours).
std::string FrameFileName(int32_t ms) {
  std::string digits = std::to_string(ms);
  if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
  return "frame_" + digits + ".png";
}

// Frames per second of show time the wanted times come at, for the speed the progress
// reports.
double FramesPerSecond(const std::vector<int32_t>& times) {
  const double span = (double(times.back()) - double(times.front())) / 1000;
  return span > 0 ? double(times.size() - 1) / span : 25;
}

int RunRender(const TCommandArguments& arguments, std::ostream& out, std::ostream& err) {
  if (arguments.Positional().size() != 1) throw EUsageError("name exactly one show or project file");
  if (!arguments.Has("--output")) throw EUsageError("name the output folder with -o");
  const std::string& path = arguments.Positional()[0];
  const fs::path folder = arguments.Value("--output");

  const TRenderLog log(arguments.Has("--log"));
  const TRepeatableRandomScope sameChanceEveryRun;
  std::unique_ptr<TKivShowLocator> located = OpenShowOrProject(path);
  const TKivSource& show = located->Source(Utf8ToUtf16(path));
  if (show.SlideCount() == 0) throw EKivError(path + ": the show has no slides");
  const std::vector<int32_t> times = WantedTimes(arguments, show);
  const TPixelSize size = FrameSize(arguments, show);
  TRenderLayer layer{true, arguments.Has("--dialog") ? Utf8ToUtf16(arguments.Value("--dialog")) : u""};
  if (!layer.Dialog.empty() && !show.Document().FindSection(DialogSectionName(show.MainSection(), layer.Dialog)))
    throw EKivError(path + ": the show has no dialog \"" + arguments.Value("--dialog") + "\"");
  MakeFolder(folder);

  const fs::path wav = arguments.Has("--wav") ? fs::path(arguments.Value("--wav")) : fs::path();
  if (!wav.empty() && wav.has_parent_path()) MakeFolder(wav.parent_path());

  const std::unique_ptr<T3DEngineGL> graphics = StartRenderGraphics();
  TShowRenderer renderer(*graphics, show, size, times.front(), wav.empty() ? nullptr : WavFileTape(wav), std::move(layer));
  // More than a few frames take a while: how far the render has come goes to standard
  // error.
  std::optional<TExportProgress> progress;
  if (times.size() > kQuietFrames) progress.emplace(ProgressOn(err, int64_t(times.size()), FramesPerSecond(times), "render"));
  const auto started = std::chrono::steady_clock::now();
  for (size_t i = 0; i < times.size(); ++i) {
    const std::unique_ptr<TBitmap> frame =
        arguments.Has("--snapshot") ? renderer.SnapshotAt(times[i]) : renderer.FrameAt(times[i]);
    WritePng(*frame, (folder / FrameFileName(times[i])).string());
    if (progress)
      progress->Update(int64_t(i + 1), std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  }
  if (progress) progress->Close();
  out << "Rendered " << times.size() << (times.size() == 1 ? " frame" : " frames") << " of " << size.Width << "x"
      << size.Height << " into " << folder.string() << "\n";
  if (!wav.empty()) out << "The sound is in " << wav.string() << "\n";
  return 0;
}

}  // namespace

const TKivShowCommand& RenderCommand() {
  static const TKivShowCommand command{"render", "write frames of a show at chosen times as PNG files", kUsage,
                                       kOptions, RunRender};
  return command;
}

}  // namespace kiv
