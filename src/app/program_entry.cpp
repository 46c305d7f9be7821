#include "app/program_entry.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "app/command_line.h"
#include "app/log_choice.h"
#include "app/message_box.h"
#include "app/player_sound.h"
#include "app/player_usage.h"
#include "app/show_opening.h"
#include "app/show_playing.h"
#include "app/start_parameters.h"
#include "base/log.h"
#include "base/text.h"
#include "platform/termination.h"

namespace kiv {

int RunPlayer(int argc, const char* const* argv) {
  InstallTerminationWatcher();  // before any other thread, so temporary folders go on SIGINT/SIGTERM
  SetStartParameters(MakeStartParameters(RunningProgramPath(), argc, argv));
  SetProgramCommandLine(TCommandLine::FromArguments(argc, argv));
  if (const std::optional<std::string> information = InformationRequested(ProgramCommandLine())) {
    std::fwrite(information->data(), 1, information->size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  const std::string programPath = Utf16ToUtf8(StartParameters().ProgramPath);
  SetLog(ChooseLog(ProgramCommandLine(), programPath));
  Log().WriteStartBanner(programPath);

  int exitCode = 1;
  try {
    const TShowRequest request = StartShowRequest(ProgramCommandLine(), StartParameters());
    if (std::unique_ptr<TKivShowLocator> show = OpenShow(request, StartParameters().ProgramPath)) {
      // Open while the show plays: the music player of the show plays through it and
      // takes its clock from it (without one, the show keeps time on the program clock).
      TPlayerSound sound(ProgramCommandLine());
      exitCode = PlayShow(*show, ProgramCommandLine(), StartParameters().ProgramPath, sound.TakeOutput());
    }
  } catch (const std::exception& error) {
    ShowError(Utf8ToUtf16(error.what()));
  }

  Log().WriteStopBanner();
  SetLog(nullptr);  // closes the log file
  return exitCode;
}

}  // namespace kiv
