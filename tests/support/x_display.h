#pragma once
// Programs under test on an X server of their own (Xvfb): running a program through the
// shell, waiting for a condition, reading a command's output.
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "base/rect.h"

namespace kiv {

// A top-level window as xwininfo tells it; Id is empty when there was none.
struct TXWindow {
  std::string Id;
  bool Viewable = false;
  TRect Bounds;
};

// Looks at condition every 100 ms until it holds or limit has passed; its last answer.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::seconds limit);

// What command prints on standard output.
std::string Output(const std::string& command);

// A program run through the shell, ended when the object goes.
class TChild {
 public:
  explicit TChild(const std::string& command);
  ~TChild() { Stop(); }
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;
  // Asks the program to end and waits for it, at most a few seconds before it is
  // killed; false when it had to be killed.
  bool Stop();
  // An ended program is reaped here, and then counts as stopped.
  bool Running();
  // The exit code of a program that ended by itself and was reaped; -1 before, or when
  // a signal ended it.
  int ExitCode() const { return FExitCode; }
  // The program's process id (the shell's, which the program replaces).
  pid_t Pid() const { return FPid; }

 private:
  pid_t FPid;
  int FExitCode = -1;
};

// An X server of width x height pixels on the first free display from :60 on; it does
// not reset when its last client goes.
class TXServer {
 public:
  TXServer(int width, int height);
  bool Running() const { return FServer != nullptr; }
  const std::string& Name() const { return FName; }

  // The window titled name.
  TXWindow FindWindow(const std::string& name) const;
  // Runs xdotool's commands on the server; with a window id, the window takes the focus
  // first.
  void XdoTool(const std::string& commands, const std::string& window = "") const;

 private:
  std::string FName;
  std::unique_ptr<TChild> FServer;
};

}  // namespace kiv
