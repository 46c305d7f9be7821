#include "app/program_entry.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "app/command_line.h"
#include "app/log_choice.h"
#include "app/message_box.h"
#include "app/password_prompt.h"
#include "app/player_sound.h"
#include "app/player_usage.h"
#include "app/screen_saver_mode.h"
#include "app/show_opening.h"
#include "app/show_playing.h"
#include "app/start_parameters.h"
#include "app/startup_window.h"
#include "base/log.h"
#include "base/text.h"
#include "platform/instance_lock.h"
#include "platform/screen_saver_switch.h"
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
    // A screen saver that cannot or must not show anything ends before it asks the user
    // anything; one screen saver show of a program runs at a time.
    const TScreenSaverMode saver = ScreenSaverModeFor(StartParameters().ProgramPath, ProgramCommandLine());
    std::optional<TInstanceLock> instance;
    if (saver == TScreenSaverMode::Show) instance.emplace(InstanceLockKey(StartParameters().ProgramPath));
    if (saver == TScreenSaverMode::Preview) std::fprintf(stderr, "%s\n", kPreviewUnavailableText.data());
    if (saver == TScreenSaverMode::Preview || saver == TScreenSaverMode::Refused ||
        (instance && instance->OtherInstanceRuns())) {
      Log().Write("Screen saver: nothing to show");
      exitCode = 0;
    } else {
      const std::u16string runModePath = RunModeProgramPath(saver, StartParameters().ProgramPath);
      const TShowRequest request = StartShowRequest(ProgramCommandLine(), StartParameters());
      if (std::unique_ptr<TKivShowLocator> show = OpenShow(request, runModePath)) {
        if (!CheckShowPassword(*show->Project(), AskPassword)) {
          exitCode = 1;
        } else if (!StartupWindowLetsShowPlay(*show->Project(), StartParameters().ProgramPath, request,
                                              ProgramCommandLine())) {
          exitCode = 0;
        } else {
          // Open while the show plays: the music player of the show plays through it and
          // takes its clock from it (without one, the show keeps time on the program clock).
          TPlayerSound sound(ProgramCommandLine());
          const TScreenSaverSwitch desktopSaverOff;
          exitCode = PlayShow(*show, ProgramCommandLine(), runModePath, sound.TakeOutput());
        }
      }
    }
  } catch (const std::exception& error) {
    ShowError(Utf8ToUtf16(error.what()));
  }

  Log().WriteStopBanner();
  SetLog(nullptr);  // closes the log file
  return exitCode;
}

}  // namespace kiv
