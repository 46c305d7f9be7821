#pragma once
// Work that must happen however the process ends: at a normal exit and on SIGINT or
// SIGTERM. The signals are taken by a watcher thread (not a handler), so the cleanup
// may do anything an ordinary thread may.
#include <functional>

namespace kiv {

// Blocks SIGINT and SIGTERM in the calling thread and in every thread it starts later,
// and starts the watcher. Call first thing in main, before any other thread exists.
void InstallTerminationWatcher();

// Runs cleanup once: at exit, or when a watched signal arrives (the process then ends
// with that signal's default action).
void OnTermination(std::function<void()> cleanup);

}  // namespace kiv
