#pragma once
// A program run as a child of this process, looked at while the caller goes on: the
// start-up window runs this way. Arguments are handed over as they are, never through a
// shell; the child inherits the environment.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace kiv {

class TChildProcess {
 public:
  // Starts program with arguments (program's own name first); Started() tells whether
  // it could.
  explicit TChildProcess(const std::vector<std::string>& arguments);
  // A child still running is ended (SIGTERM) and waited for.
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  bool Started() const { return FPid > 0; }
  // Looks, without waiting, whether the child has ended; once it has, its exit code is
  // ExitCode (none when a signal ended it).
  bool Ended();
  std::optional<int> ExitCode() const { return FExitCode; }

 private:
  pid_t FPid = -1;
  bool FEnded = false;
  std::optional<int> FExitCode;
};

}  // namespace kiv
