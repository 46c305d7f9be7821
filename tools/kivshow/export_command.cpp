// kivshow export: a show played on virtual time into a video file, picture and sound
// from the same clock.
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/log.h"
#include "base/text.h"
#include "kivshow/encoding_queue.h"
#include "kivshow/export_progress.h"
#include "kivshow/export_timeline.h"
#include "kivshow/kivshow_command.h"
#include "kivshow/opened_show.h"
#include "kivshow/render_times.h"
#include "kivshow/repeatable_random.h"
#include "kivshow/show_renderer.h"
#include "kivshow/sound_track.h"
#include "model/kiv_source.h"
#include "model/slide_area.h"
#include "platform/audio_output.h"
#include "platform/stop_request.h"
#include "platform/video_file_writer.h"

namespace kiv {

namespace {

namespace fs = std::filesystem;

constexpr char kUsage[] =
    "Usage: kivshow export <show or project file> -o <video file> [--size WxH] [--fps <n>]\n"
    "                      [--from <ms>] [--to <ms>]\n"
    "\n"
    "Plays the show through the player's engine, slide loader and drawer in a hidden\n"
    "window on virtual time and encodes every frame, with the show's sound from the same\n"
    "clock: frame k shows the show time from + k * 1000 / fps. The video is H.264 with\n"
    "AAC sound; where this machine's FFmpeg lacks those encoders, MPEG-4 part 2 video or\n"
    "MPEG audio layer 2 sound take their place, and the command says so. No display is\n"
    "needed. Ctrl+C stops at the next frame and leaves a complete, shorter file (the\n"
    "exit code is then 128 + the signal's number); pressed twice it ends at once.\n"
    "\n"
    "Options:\n"
    "  -o, --output <file>  the video file: .mp4, .m4v, .mov or .mkv\n"
    "  --size <WxH>         frame size in pixels, both sides even (default: the show's\n"
    "                       own size)\n"
    "  --fps <n>            frames per second: 25 (the default), 29.97, 30000/1001 ...\n"
    "  --from <ms>          the show time of the first frame (default 0)\n"
    "  --to <ms>            the show time the video ends at (default: the end of the show)\n"
    "  --log                write the player's log to standard error\n";

constexpr TOptionSpec kOptions[] = {
    {"--output", "-o", true, false}, {"--size", "", true, false}, {"--fps", "", true, false},
    {"--from", "", true, false},     {"--to", "", true, false},   {"--log", "", false, false},
};

// The player's log on standard error while the command runs, when asked for.
class TExportLog {
 public:
  explicit TExportLog(bool wanted) : FWanted(wanted) {
    if (FWanted) SetLog(std::make_unique<TStdLog>());
  }
  ~TExportLog() {
    if (FWanted) SetLog(nullptr);
  }

 private:
  bool FWanted;
};

std::string Extensions() {
  std::string list;
  const std::vector<std::string> extensions = VideoFileExtensions();
  for (size_t i = 0; i < extensions.size(); ++i)
    list += (i == 0 ? "" : i + 1 == extensions.size() ? " or " : ", ") + extensions[i];
  return list;
}

// What the command line asks for, checked before the show is opened.
struct TExportRequest {
  std::string ShowPath;
  std::string OutputPath;
  std::optional<TPixelSize> Size;
  TFrameRate Rate;
  int32_t From = 0;
  std::optional<int32_t> To;
};

TExportRequest ReadRequest(const TCommandArguments& arguments) {
  if (arguments.Positional().size() != 1) throw EUsageError("name exactly one show or project file");
  if (!arguments.Has("--output")) throw EUsageError("name the video file with -o");
  TExportRequest request;
  request.ShowPath = arguments.Positional()[0];
  request.OutputPath = arguments.Value("--output");
  if (!IsVideoFileName(request.OutputPath))
    throw EUsageError("\"" + request.OutputPath + "\" has an unknown extension: name a video file ending in " +
                      Extensions());
  if (arguments.Has("--size")) {
    const std::string text = arguments.Value("--size");
    request.Size = ParseFrameSize(text);
    if (request.Size->Width % 2 || request.Size->Height % 2)
      throw EUsageError("size \"" + text + "\": a video needs even sides");
  }
  if (arguments.Has("--fps")) request.Rate = ParseFrameRate(arguments.Value("--fps"));
  if (arguments.Has("--from")) request.From = ParseTimeOption("--from", arguments.Value("--from"));
  if (arguments.Has("--to")) request.To = ParseTimeOption("--to", arguments.Value("--to"));
  if (request.To && *request.To < request.From)
    throw EUsageError("--to " + std::to_string(*request.To) + " lies before --from " + std::to_string(request.From));
  if (request.To && *request.To == request.From)
    throw EUsageError("--from and --to are the same time: there is nothing to export");
  return request;
}

// The span the show allows: it ends where it ends unless it repeats.
int32_t EndOf(const TExportRequest& request, const TKivSource& show) {
  const auto length = int32_t(std::min(show.Duration(), double(INT32_MAX)));
  const int32_t to = request.To.value_or(length);
  if (show.EndMode() != TEndMode::Repeat && to > length)
    throw EKivError("the show ends at " + std::to_string(length) + " ms; --to " + std::to_string(to) +
                    " lies after it");
  if (to <= request.From)
    throw EKivError("the show ends at " + std::to_string(length) + " ms; --from " + std::to_string(request.From) +
                    " leaves nothing to export");
  return to;
}

// The show's own size, made even, unless the command line names one.
TPixelSize FrameSize(const TExportRequest& request, const TKivSource& show) {
  if (request.Size) return *request.Size;
  const TPixelSize design = ReadShowDesign(show.MainSection()).Size;
  const auto side = [](int32_t length) { return std::clamp(length, kMinFrameSide, kMaxFrameSide) / 2 * 2; };
  return {side(design.Width), side(design.Height)};
}

// A video file written over the show it is made from would lose the show.
void CheckNotTheShow(const TExportRequest& request) {
  std::error_code error;
  if (fs::equivalent(request.ShowPath, request.OutputPath, error))
    throw EKivError(request.OutputPath + " is the show itself; name another video file");
}

std::unique_ptr<TVideoFileWriter> OpenVideoFile(const TExportRequest& request, TPixelSize size,
                                                std::ostream& err) {
  TVideoFileSettings settings;
  settings.Path = request.OutputPath;
  settings.Width = size.Width;
  settings.Height = size.Height;
  settings.RateNumerator = request.Rate.Numerator;
  settings.RateDenominator = request.Rate.Denominator;
  std::string error;
  std::unique_ptr<TVideoFileWriter> writer = TVideoFileWriter::Open(settings, error);
  if (!writer) throw EKivError(error);
  for (const TVideoFileCodec* codec : {&writer->VideoCodec(), &writer->SoundCodec()})
    if (codec->Fallback)
      err << "kivshow export: this machine's FFmpeg cannot encode " << codec->Wanted << "; using " << codec->Name
          << " (" << codec->Encoder << ") instead\n";
  return writer;
}

std::string Seconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f s", ms / 1000);
  return text;
}

// Plays the show into writer frame by frame; answers the frames written, fewer than the
// timeline's when stops asked to stop.
int64_t PlayInto(TVideoFileWriter& writer, const TKivSource& show, const TExportTimeline& timeline, TPixelSize size,
                 const TStopRequests& stops, std::ostream& err) {
  const std::unique_ptr<T3DEngineGL> graphics = StartRenderGraphics();
  const auto sound = std::make_shared<TExportSoundTrack>();
  TShowRenderer renderer(*graphics, show, size, timeline.FrameTime(0), sound);
  TExportProgress progress = ProgressOn(err, timeline.FrameCount(), timeline.Rate().PerSecond(), "export");
  const auto started = std::chrono::steady_clock::now();
  // Encodes while the next frames are drawn; what was drawn before a failure is still
  // encoded as the queue goes.
  TEncodingQueue encoder(writer);
  // The sound of frame k is complete once the clock has passed the next frame's time.
  auto writeSoundOf = [&](int64_t k) {
    const auto soundFrames = size_t(timeline.SoundOf(k));
    std::vector<int16_t> samples(soundFrames * kOutputChannels);
    sound->Take(uint64_t(timeline.SoundBefore(k)), soundFrames, samples.data());
    encoder.Sound(std::move(samples));
  };
  int64_t frame = 0;
  try {
    for (; frame < timeline.FrameCount() && !stops.Requested(); ++frame) {
      std::unique_ptr<TBitmap> picture = renderer.FrameAt(timeline.FrameTime(frame));
      if (picture->Width() != size.Width || picture->Height() != size.Height || picture->Format() != TPixelFormat::Bgr24)
        throw EKivError("the renderer drew a frame of another size or kind");
      encoder.Picture(std::move(picture));
      if (frame > 0) writeSoundOf(frame - 1);
      progress.Update(frame + 1, std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    }
    if (frame > 0) {
      // The last frame's sound: the show is played on to where that frame ends. Where it
      // cannot be (the show closed), what was laid is kept and the rest is silence.
      try {
        renderer.DrawAt(timeline.FrameTime(frame));
      } catch (const EKivError&) {
      }
      writeSoundOf(frame - 1);
    }
    encoder.Drain();
  } catch (...) {
    progress.Close();
    throw;
  }
  progress.Close();
  return frame;
}

int RunExport(const TCommandArguments& arguments, std::ostream& out, std::ostream& err) {
  const TExportRequest request = ReadRequest(arguments);
  const TExportLog log(arguments.Has("--log"));
  const TRepeatableRandomScope sameChanceEveryRun;
  std::unique_ptr<TKivShowLocator> located = OpenShowOrProject(request.ShowPath);
  const TKivSource& show = located->Source(Utf8ToUtf16(request.ShowPath));
  if (show.SlideCount() == 0) throw EKivError(request.ShowPath + ": the show has no slides");
  const TExportTimeline timeline(request.Rate, request.From, EndOf(request, show));
  const TPixelSize size = FrameSize(request, show);
  CheckNotTheShow(request);

  std::unique_ptr<TVideoFileWriter> writer = OpenVideoFile(request, size, err);
  const TStopRequests stops;
  int64_t frames = 0;
  try {
    frames = PlayInto(*writer, show, timeline, size, stops, err);
  } catch (const EKivError& e) {
    // What was encoded stays playable; a file without a single frame goes.
    frames = writer->PicturesWritten();
    const bool complete = writer->Finish();
    writer.reset();
    if (frames == 0) {
      std::error_code ignored;
      fs::remove(request.OutputPath, ignored);
      throw;
    }
    if (!complete) throw EKivError(std::string(e.what()) + "; " + request.OutputPath + " is incomplete");
    throw EKivError(std::string(e.what()) + "; " + request.OutputPath + " holds the " + std::to_string(frames) +
                    " frames before it (" + Seconds(timeline.DurationMs(frames)) + ")");
  }
  if (!writer->Finish()) throw EKivError(writer->Error());

  const std::string codecs =
      writer->VideoCodec().Name + " video, " + writer->SoundCodec().Name + " sound";
  if (stops.Requested()) {
    err << "kivshow export: stopped by " << stops.SignalName() << " after " << frames << " of "
        << timeline.FrameCount() << " frames; " << request.OutputPath << " is complete but cut short at "
        << Seconds(timeline.DurationMs(frames)) << " (" << codecs << ")\n";
    return stops.ExitCode();
  }
  out << "Exported " << frames << (frames == 1 ? " frame" : " frames") << " (" << Seconds(timeline.DurationMs(frames))
      << ") of " << size.Width << "x" << size.Height << " at " << request.Rate.Text() << " fps into "
      << request.OutputPath << ": " << codecs << "\n";
  return 0;
}

}  // namespace

const TKivShowCommand& ExportCommand() {
  static const TKivShowCommand command{"export", "play a show into a video file (pictures and sound)", kUsage,
                                       kOptions, RunExport};
  return command;
}

}  // namespace kiv
