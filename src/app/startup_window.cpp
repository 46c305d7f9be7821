#include "app/startup_window.h"

#include "base/clock.h"
#include "base/log.h"
#include "base/text.h"
#include "platform/child_process.h"

namespace kiv {

namespace {

constexpr uint32_t kLookInterval = 10;  // ms between two looks at the child

}  // namespace

bool WantsStartupWindow(const TIniStorage& project, const TCommandLine& commandLine) {
  return !commandLine.HasRawArgument(u"-startup") && project.ReadBool(u"main", u"stw_show", false);
}

std::vector<std::string> StartupWindowArguments(std::u16string_view programPath, const TShowRequest& request,
                                                const TCommandLine& commandLine) {
  std::vector<std::string> arguments{Utf16ToUtf8(programPath), request.IsExecutable ? "-exename" : "-filename",
                                     Utf16ToUtf8(request.Path), "-startup"};
  if (const std::optional<std::u16string> display = commandLine.GetOptionValue(u"display")) {
    arguments.push_back("-display");
    arguments.push_back(Utf16ToUtf8(*display));
  }
  return arguments;
}

std::optional<int> RunStartupWindow(const std::vector<std::string>& arguments,
                                    const std::function<void()>& whileWaiting) {
  TChildProcess child(arguments);
  if (!child.Started()) {
    Log().Write("RunStartupWindow: the start-up window could not be started");
    return std::nullopt;
  }
  while (!child.Ended()) {
    if (whileWaiting) whileWaiting();
    Clock().SleepMs(kLookInterval);
  }
  return child.ExitCode();
}

bool StartupWindowLetsShowPlay(const TIniStorage& project, std::u16string_view programPath, const TShowRequest& request,
                               const TCommandLine& commandLine, const std::function<void()>& whileWaiting) {
  if (!WantsStartupWindow(project, commandLine)) return true;
  const std::optional<int> exitCode =
      RunStartupWindow(StartupWindowArguments(programPath, request, commandLine), whileWaiting);
  Log().WriteValue("Startup window exit code: ", int64_t(exitCode.value_or(-1)));
  return exitCode == 1;
}

}  // namespace kiv
