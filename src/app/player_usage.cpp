#include "app/player_usage.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "base/text.h"

namespace kiv {

std::string VersionText() { return "kivplayer (KivViewer) 5.6\n"; }

std::string UsageText() {
  return "Usage: kivplayer [options]\n"
         "Plays the show appended to the program, or the one the options name.\n"
         "\n"
         "Options (lower case only):\n"
         "  -filename <project>  play a project file with loose files\n"
         "  -exename <program>   play the show appended to another program\n"
         "  -slide <n>           start at slide n (1-based)\n"
         "  -time <ms>           start at a show time\n"
         "  -display <n>         the monitor to use (1-based)\n"
         "  -filelog             write <program>.log beside the program\n"
         "  -log                 write the log to standard error\n"
         "  -nosound             play without sound\n"
         "  --help               print this text and end\n"
         "  --version            print the version and end\n"
         "\n"
         "Keys while a show plays:\n"
         "  Esc                           close the show\n"
         "  Right, Page Down              next slide\n"
         "  Left, Page Up                 previous slide\n"
         "  Home, End                     first slide, last slide\n"
         "  Space, Pause, Ctrl+P          pause and resume\n"
         "  F1                            help\n"
         "  mouse wheel                   move through the show\n"
         "(A show may lock its controls, F1 or the wheel.)\n";
}

std::optional<std::string> InformationRequested(const TCommandLine& commandLine) {
  if (commandLine.HasRawArgument(u"--help") || commandLine.HasRawArgument(u"-h")) return UsageText();
  if (commandLine.HasRawArgument(u"--version")) return VersionText();
  return std::nullopt;
}

std::optional<std::string> UnknownOption(const TCommandLine& commandLine) {
  static constexpr std::u16string_view kKnown[] = {u"filename", u"exename", u"slide",    u"time",         u"display",
                                                   u"filelog",  u"log",     u"nosound",  u"startup",      u"ownerwnd",
                                                   u"cover",    u"resize",  u"h",        u"desktopalign", u"-help",
                                                   u"-version"};
  const std::vector<std::u16string>& tokens = commandLine.Tokens();
  for (size_t i = 1; i < tokens.size(); ++i) {
    const std::u16string& token = tokens[i];
    if (token.size() < 2 || token[0] != u'-' || (token[1] >= u'0' && token[1] <= u'9')) continue;  // values, "-5"
    const std::u16string name = LowerCase(std::u16string_view(token).substr(1));
    if (std::find(std::begin(kKnown), std::end(kKnown), name) == std::end(kKnown))
      return "kivplayer: unknown option \"" + Utf16ToUtf8(token) + "\" (kivplayer --help lists the options)\n";
  }
  return std::nullopt;
}

}  // namespace kiv
