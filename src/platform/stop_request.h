#pragma once
// Ctrl+C (SIGINT) and SIGTERM as a request to stop, for long work that ends cleanly at a
// point of its own choosing (a video export at its next frame). While a TStopRequests
// lives, the first such signal is only noted; a second one ends the process at once, as
// if none were caught, for a user who will not wait.
#include <string>

namespace kiv {

class TStopRequests {
 public:
  // Catches the signals from now on; one object at a time.
  TStopRequests();
  // Gives the signals back to whatever handled them before.
  ~TStopRequests();
  TStopRequests(const TStopRequests&) = delete;
  TStopRequests& operator=(const TStopRequests&) = delete;

  bool Requested() const;
  // "SIGINT" or "SIGTERM", empty while none came.
  std::string SignalName() const;
  // The exit code of a process that stopped on the request: 128 + the signal's number,
  // as shells report a process ended by that signal.
  int ExitCode() const;
};

}  // namespace kiv
