#include "app/player_usage.h"

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

}  // namespace kiv
