#include "platform/termination.h"

#include <pthread.h>
#include <signal.h>

#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace kiv {

namespace {

std::mutex gLock;
std::vector<std::function<void()>>& Cleanups() {
  static auto* cleanups = new std::vector<std::function<void()>>();  // outlives static destruction
  return *cleanups;
}

void RunCleanups() {
  std::vector<std::function<void()>> cleanups;
  {
    std::lock_guard lock(gLock);
    cleanups.swap(Cleanups());
  }
  for (auto& cleanup : cleanups) cleanup();
}

sigset_t WatchedSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

void InstallTerminationWatcher() {
  sigset_t set = WatchedSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread([set] {
    int signal = 0;
    sigwait(&set, &signal);
    RunCleanups();
    ::signal(signal, SIG_DFL);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
  }).detach();
}

void OnTermination(std::function<void()> cleanup) {
  static std::once_flag atExit;
  std::call_once(atExit, [] { std::atexit(RunCleanups); });
  std::lock_guard lock(gLock);
  Cleanups().push_back(std::move(cleanup));
}

}  // namespace kiv
