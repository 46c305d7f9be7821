// kivshow pack: a project and its files into a show.
#include <filesystem>
#include <system_error>

#include "base/text.h"
#include "kivshow/kivshow_command.h"
#include "kivshow/pack_mode_words.h"
#include "kivshow/show_packer.h"

namespace kiv {

namespace {

namespace fs = std::filesystem;

constexpr char kUsage[] =
    "Usage: kivshow pack <project file> -o <output> [options]\n"
    "\n"
    "Packs the project and every file it names into a show: a copy of the player\n"
    "with the show appended, or with --data a stand-alone data file. Files that are\n"
    "shows themselves (earlier packs) are left out, and pictures, sounds and clips\n"
    "the project names but the folder lacks are listed on standard error.\n"
    "\n"
    "Options:\n"
    "  -o, --output <path>  the show to write (required)\n"
    "  --player <path>      the player to copy (default: the one built beside kivshow,\n"
    "                       without debugging information)\n"
    "  --data               write a stand-alone data file instead of a show executable\n"
    "  --mode <mode>        how the files are stored: stored, deflated (default) or\n"
    "                       enciphered; the project itself is always deflated\n"
    "  --allow-modify       the show still opens after its program image has changed\n"
    "  --short-trailer      end the show with the short trailer\n"
    "  --add <file>         also pack this file (repeatable): a file inside the project's\n"
    "                       folder under its path from there, others under the path given\n"
    "  --version <text>     version text of the show (default: KivVersion of the\n"
    "                       project's Main section)\n"
    "  --no-text-cache      do not store the texts laid out with the outlines of their\n"
    "                       fonts (by default they are, so that the show draws its texts\n"
    "                       the same on machines without those fonts)\n"
    "\n"
    "Exit status: 0 packed; 1 failed (nothing written); 2 wrong arguments; 3 packed,\n"
    "but files the project names are missing.\n";

constexpr TOptionSpec kOptions[] = {
    {"--output", "-o", true, false}, {"--player", "", true, false},        {"--data", "", false, false},
    {"--mode", "", true, false},     {"--allow-modify", "", false, false}, {"--short-trailer", "", false, false},
    {"--add", "", true, true},       {"--version", "", true, false},      {"--no-text-cache", "", false, false},
};

// The player installed next to this tool: its copy without debugging information
// (player/kivplayer) when the build made one, else the program itself.
std::string DefaultPlayerPath() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  for (const fs::path& player : {self.parent_path() / "player" / "kivplayer", self.parent_path() / "kivplayer"})
    if (!error && fs::is_regular_file(player, error)) return player.string();
  throw EKivError("no player found next to kivshow; name one with --player");
}

TShowPackRequest RequestOf(const TCommandArguments& arguments) {
  if (arguments.Positional().size() != 1) throw EUsageError("name exactly one project file");
  if (!arguments.Has("--output")) throw EUsageError("name the output with -o");
  TShowPackRequest request;
  request.ProjectPath = arguments.Positional()[0];
  request.OutputPath = arguments.Value("--output");
  request.DataFile = arguments.Has("--data");
  if (request.DataFile && arguments.Has("--player")) throw EUsageError("a data file holds no player");
  const std::optional<TPackMode> mode = PackModeOfWord(arguments.Value("--mode", "deflated"));
  if (!mode) throw EUsageError("unknown mode \"" + arguments.Value("--mode") + "\"");
  request.Mode = *mode;
  request.AllowModify = arguments.Has("--allow-modify");
  request.ShortTrailer = arguments.Has("--short-trailer");
  request.ExtraFiles = arguments.Values("--add");
  request.StoreTexts = !arguments.Has("--no-text-cache");
  if (arguments.Has("--version")) request.Version = Utf8ToUtf16(arguments.Value("--version"));
  if (!request.DataFile)
    request.PlayerPath = arguments.Has("--player") ? arguments.Value("--player") : DefaultPlayerPath();
  return request;
}

// The show was written, but files it names were not found.
constexpr int kPackMissingFiles = 3;

int RunPack(const TCommandArguments& arguments, std::ostream& out, std::ostream& err) {
  const TShowPackRequest request = RequestOf(arguments);
  const TShowPackResult result = PackShow(request);
  for (const std::string& name : result.Missing) err << "kivshow pack: missing: " << name << "\n";
  for (const std::string& name : result.LeftOut) err << "kivshow pack: left out (a show itself): " << name << "\n";
  out << "Packed " << result.Entries << " entries (" << result.StoredBytes << " bytes) into " << request.OutputPath
      << "\n";
  if (result.NamedProgram)
    out << "The project named no program (opt_exefn): the show names " << *result.NamedProgram << "\n";
  if (request.StoreTexts) out << "Stored " << result.Texts << " texts with the glyphs of " << result.Fonts << " fonts\n";
  if (!result.Missing.empty()) {
    err << "kivshow pack: " << result.Missing.size() << " file(s) the project names are missing; the show shows them "
        << "as missing\n";
    return kPackMissingFiles;
  }
  return 0;
}

}  // namespace

const TKivShowCommand& PackCommand() {
  static const TKivShowCommand command{"pack", "pack a project and its files into a show", kUsage, kOptions, RunPack};
  return command;
}

}  // namespace kiv
