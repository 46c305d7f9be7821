#include "platform/termination.h"

#include <pthread.h>
#include <signal.h>

#include <cstdlib>
#include <mutex>
#include <string>
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
  sigaddset(&set, SIGHUP);
  return set;
}

std::function<void(const std::string&)>& StopHandler() {
  static auto* handler = new std::function<void(const std::string&)>();  // outlives static destruction
  return *handler;
}

std::string SignalName(int signal) {
  switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "signal " + std::to_string(signal);
  }
}

// The stop handler, taken for one call: a second signal finds none and ends the process.
std::function<void(const std::string&)> TakeStopHandler() {
  std::lock_guard lock(gLock);
  std::function<void(const std::string&)> handler;
  handler.swap(StopHandler());
  return handler;
}

}  // namespace

void InstallTerminationWatcher() {
  sigset_t set = WatchedSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread([set] {
    int signal = 0;
    for (;;) {
      sigwait(&set, &signal);
      const std::function<void(const std::string&)> stop = TakeStopHandler();
      if (!stop) break;
      stop(SignalName(signal));
    }
    RunCleanups();
    ::signal(signal, SIG_DFL);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
  }).detach();
}

void SetStopHandler(std::function<void(const std::string& signalName)> handler) {
  std::lock_guard lock(gLock);
  StopHandler() = std::move(handler);
}

void OnTermination(std::function<void()> cleanup) {
  static std::once_flag atExit;
  std::call_once(atExit, [] { std::atexit(RunCleanups); });
  std::lock_guard lock(gLock);
  Cleanups().push_back(std::move(cleanup));
}

}  // namespace kiv
