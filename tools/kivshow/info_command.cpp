// kivshow info: the main options of a show and the timing of its slides, as JSON.
#include "base/file_names.h"
#include "base/text.h"
#include "kivshow/json_writer.h"
#include "kivshow/kivshow_command.h"
#include "kivshow/opened_show.h"
#include "kivshow/slide_objects_writer.h"
#include "model/show_locator.h"
#include "model/slide_order.h"

namespace kiv {

namespace {

constexpr char kUsage[] =
    "Usage: kivshow info <show or project file>\n"
    "\n"
    "Prints the show's main options, slide count, duration and timing table as JSON.\n"
    "Times are milliseconds on the show clock: each slide's start and end, the\n"
    "transitions into it and out of it, and the moment it has fully left the screen,\n"
    "and the objects on each slide (kind, name, own size in pixels, children).\n"
    "A file that is no show container is read as a project file with loose files.\n";

constexpr std::u16string_view kEndModes[] = {u"repeat", u"close", u"stop"};

void WriteMainOptions(TJsonWriter& json, const TKivShowLocator& show, const TKivSource& source) {
  const TIniSection& main = source.MainSection();
  json.Value("version", show.Version());
  json.Value("caption", main.ReadString(u"opt_scr_caption", u""));
  json.Value("width", double(main.ReadInteger(u"opt_scr_width", 0)));
  json.Value("height", double(main.ReadInteger(u"opt_scr_height", 0)));
  json.Value("fullScreen", main.ReadBool(u"opt_scr_full", false));
  json.Value("endMode", kEndModes[int(source.EndMode())]);
  json.Value("manualShow", main.ReadString(u"opt_manualshow", u"") == u"1");
  json.Value("random", main.ReadBool(u"opt_random", false));
  json.Value("screenSaver", source.ScreenSaver());
  json.Value("slideCount", double(source.SlideCount()));
  json.Value("duration", source.Duration());
}

void WriteSlides(TJsonWriter& json, TKivSource& source) {
  TSlideObjectsWriter objects(source);
  json.BeginArray("slides");
  for (int index = 0; index < source.SlideCount(); ++index) {
    const TSlideInfo& slide = source.Slides()[size_t(index)];
    json.BeginObject();
    json.Value("index", double(index));
    json.Value("section", u"Slide" + IntToText(SlideNumberAt(source.Document(), index) + 1));
    json.Value("id", slide.SlideId);
    json.Value("start", slide.StartTime);
    json.Value("end", slide.EndTime);
    json.Value("transitionIn", slide.EffectInTime);
    json.Value("transitionOut", slide.EffectOutTime);
    json.Value("totalEnd", slide.TotalEnd);
    objects.Write(json, index);
    json.EndObject();
  }
  json.EndArray();
}

int RunInfo(const TCommandArguments& arguments, std::ostream& out, std::ostream&) {
  if (arguments.Positional().size() != 1) throw EUsageError("name exactly one show or project file");
  const std::string& path = arguments.Positional()[0];
  std::unique_ptr<TKivShowLocator> show = OpenShowOrProject(path);
  // The show runs as a screen saver when its own file is named "*.scr".
  TKivSource& source = show->Source(Utf8ToUtf16(path));
  TJsonWriter json(out);
  json.BeginObject();
  json.Value("path", Utf8ToUtf16(path));
  WriteMainOptions(json, *show, source);
  WriteSlides(json, source);
  json.EndObject();
  json.Finish();
  return 0;
}

}  // namespace

const TKivShowCommand& InfoCommand() {
  static const TKivShowCommand command{"info", "print a show's options and slide timing as JSON", kUsage, {}, RunInfo};
  return command;
}

}  // namespace kiv
