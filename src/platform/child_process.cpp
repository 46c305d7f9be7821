#include "platform/child_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <errno.h>

#include <atomic>

#include "platform/termination.h"

extern char** environ;

namespace kiv {

namespace {

// A child still running when this process is ended by a signal goes with it.
std::atomic<pid_t> RunningChild{0};

void EndRunningChildAtTermination() {
  static const bool registered = [] {
    OnTermination([] {
      if (const pid_t pid = RunningChild.load(); pid > 0) ::kill(pid, SIGTERM);
    });
    return true;
  }();
  (void)registered;
}

}  // namespace

TChildProcess::TChildProcess(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return;
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  // The watcher's signals are blocked in this thread; the child starts with none blocked.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t pid = -1;
  if (::posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ) == 0) FPid = pid;
  posix_spawnattr_destroy(&attributes);
  if (FPid > 0) {
    EndRunningChildAtTermination();
    RunningChild = FPid;
  }
}

TChildProcess::~TChildProcess() {
  if (FPid <= 0 || FEnded) return;
  ::kill(FPid, SIGTERM);
  ::waitpid(FPid, nullptr, 0);
  RunningChild = 0;
}

bool TChildProcess::Ended() {
  if (FPid <= 0 || FEnded) return FPid > 0;
  int status = 0;
  pid_t result;
  while ((result = ::waitpid(FPid, &status, WNOHANG)) < 0 && errno == EINTR) {
  }
  if (result == 0) return false;
  FEnded = true;  // ended, or no longer ours to wait for
  RunningChild = 0;
  if (result == FPid && WIFEXITED(status)) FExitCode = WEXITSTATUS(status);
  return true;
}

}  // namespace kiv
