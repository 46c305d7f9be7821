#pragma once
// Work that must happen however the process ends: at a normal exit and on SIGINT,
// SIGTERM or SIGHUP. The signals are taken by a watcher thread (not a handler), so the
// cleanup may do anything an ordinary thread may.
#include <functional>
#include <string>

namespace kiv {

// Blocks SIGINT, SIGTERM and SIGHUP in the calling thread and in every thread it starts
// later, and starts the watcher. Call first thing in main, before any other thread exists.
void InstallTerminationWatcher();

// Runs cleanup once: at exit, or when a watched signal arrives (the process then ends
// with that signal's default action).
void OnTermination(std::function<void()> cleanup);

// While a stop handler is set, the first watched signal calls it on the watcher thread
// with the signal's name ("SIGTERM") instead of ending the process: the program stops
// in its own orderly way. A second signal ends the process at once (cleanups run, then
// the signal's default action). An empty handler takes the handler away.
void SetStopHandler(std::function<void(const std::string& signalName)> handler);

}  // namespace kiv
