#include "app/program_entry.h"

#include <exception>

#include "app/command_line.h"
#include "app/log_choice.h"
#include "app/show_opening.h"
#include "app/start_parameters.h"
#include "base/log.h"
#include "base/text.h"

namespace kiv {

int RunPlayer(int argc, const char* const* argv) {
  SetStartParameters(MakeStartParameters(RunningProgramPath(), argc, argv));
  SetProgramCommandLine(TCommandLine::FromArguments(argc, argv));
  const std::string programPath = Utf16ToUtf8(StartParameters().ProgramPath);
  SetLog(ChooseLog(ProgramCommandLine(), programPath));
  Log().WriteStartBanner(programPath);

  int exitCode = 1;
  try {
    if (OpenShow(StartShowRequest(ProgramCommandLine(), StartParameters()))) exitCode = 0;
  } catch (const std::exception& error) {
    ShowError(Utf8ToUtf16(error.what()));
  }

  Log().WriteStopBanner();
  SetLog(nullptr);  // closes the log file
  return exitCode;
}

}  // namespace kiv
