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

namespace {

// What the player ends with when its command line cannot be followed.
constexpr int kExitWrongArguments = 2;

// Plays the show named at start as its run mode says; the process exit code.
int PlayStartShow() {
  const std::u16string& program = StartParameters().ProgramPath;
  const TCommandLine& commandLine = ProgramCommandLine();
  // A screen saver that cannot or must not show anything ends before it asks the user
  // anything; one screen saver show of a program runs at a time.
  const TScreenSaverMode saver = ScreenSaverModeFor(program, commandLine);
  if (saver == TScreenSaverMode::Preview) std::fprintf(stderr, "%s\n", kPreviewUnavailableText.data());
  std::optional<TInstanceLock> instance;
  if (saver == TScreenSaverMode::Show) instance.emplace(InstanceLockKey(program));
  if (saver == TScreenSaverMode::Preview || saver == TScreenSaverMode::Refused ||
      (instance && instance->OtherInstanceRuns())) {
    Log().Write("Screen saver: nothing to show");
    return 0;
  }
  const std::u16string runModePath = RunModeProgramPath(saver, program);
  const TShowRequest request = StartShowRequest(commandLine, StartParameters());
  const std::unique_ptr<TKivShowLocator> show = OpenShow(request, runModePath);
  if (!show) return 1;
  if (const std::optional<int> slide = commandLine.GetIntegerValue(u"slide");
      slide && *slide > show->Source(runModePath).SlideCount()) {
    std::fprintf(stderr, "kivplayer: -slide %d: the show has %d slides\n", *slide, show->Source(runModePath).SlideCount());
    return kExitWrongArguments;
  }
  if (!CheckShowPassword(*show->Project(), AskPassword)) return 1;
  if (!StartupWindowLetsShowPlay(*show->Project(), program, request, commandLine)) return 0;
  // Open while the show plays: the music player of the show plays through it and takes
  // its clock from it (without one, the show keeps time on the program clock).
  TPlayerSound sound(commandLine);
  const TScreenSaverSwitch desktopSaverOff;
  return PlayShow(*show, commandLine, runModePath, sound.TakeOutput());
}

}  // namespace

int RunPlayer(int argc, const char* const* argv) {
  InstallTerminationWatcher();  // before any other thread, so temporary folders go on SIGINT/SIGTERM
  SetStartParameters(MakeStartParameters(RunningProgramPath(), argc, argv));
  SetProgramCommandLine(TCommandLine::FromArguments(argc, argv));
  if (const std::optional<std::string> information = InformationRequested(ProgramCommandLine())) {
    std::fwrite(information->data(), 1, information->size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (const std::optional<std::string> unknown = UnknownOption(ProgramCommandLine())) {
    std::fwrite(unknown->data(), 1, unknown->size(), stderr);
    return kExitWrongArguments;
  }
  const std::string programPath = Utf16ToUtf8(StartParameters().ProgramPath);
  SetLog(ChooseLog(ProgramCommandLine(), programPath));
  Log().WriteStartBanner(programPath);

  int exitCode = 1;
  try {
    exitCode = PlayStartShow();
  } catch (const std::exception& error) {
    ShowError(Utf8ToUtf16(error.what()));
  }

  Log().WriteStopBanner();
  SetLog(nullptr);  // closes the log file
  return exitCode;
}

}  // namespace kiv
