#include "support/x_display.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>
#include <utility>

namespace kiv {

namespace fs = std::filesystem;

bool WaitUntil(const std::function<bool()>& condition, std::chrono::seconds limit) {
  for (const auto deadline = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < deadline;) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return condition();
}

std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    ::pclose(pipe);
  }
  return text;
}

TChild::TChild(const std::string& command) : FPid(::fork()) {
  if (FPid == 0) {
    ::execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
}

bool TChild::Stop() {
  if (FPid <= 0) return true;
  const pid_t pid = std::exchange(FPid, 0);
  ::kill(pid, SIGTERM);
  const bool ended = WaitUntil([pid] { return ::waitpid(pid, nullptr, WNOHANG) == pid; }, std::chrono::seconds(10));
  if (!ended) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  return ended;
}

bool TChild::Running() {
  int status = 0;
  if (FPid > 0 && ::waitpid(FPid, &status, WNOHANG) == FPid) {
    FPid = 0;
    FExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return FPid > 0;
}

TXServer::TXServer(int width, int height) {
  for (int display = 60; display < 100 && !FServer; ++display) {
    if (fs::exists("/tmp/.X11-unix/X" + std::to_string(display)) || fs::exists("/tmp/.X" + std::to_string(display) + "-lock"))
      continue;
    FName = ":" + std::to_string(display);
    auto server = std::make_unique<TChild>("Xvfb " + FName + " -screen 0 " + std::to_string(width) + "x" +
                                           std::to_string(height) + "x24 -nolisten tcp -noreset 2>/dev/null");
    // Tests starting at the same time may try the same display: the server whose
    // process id the lock file names is the one that got it.
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(display);
    const std::string lock = "/tmp/.X" + std::to_string(display) + "-lock";
    const auto ours = [&] {
      std::ifstream file(lock);
      long pid = 0;
      return fs::exists(socket) && (file >> pid) && pid == long(server->Pid());
    };
    if (WaitUntil([&] { return ours() || !server->Running(); }, std::chrono::seconds(20)) && server->Running())
      FServer = std::move(server);
  }
}

TXWindow TXServer::FindWindow(const std::string& name) const {
  const std::string info = Output("xwininfo -display " + FName + " -name '" + name + "' 2>/dev/null");
  const auto number = [&info](const std::string& label) {
    std::smatch match;
    return std::regex_search(info, match, std::regex(label + ":\\s*(-?\\d+)")) ? std::stoi(match[1]) : 0;
  };
  TXWindow window;
  std::smatch id;
  if (std::regex_search(info, id, std::regex("Window id: (0x[0-9a-f]+)"))) window.Id = id[1];
  window.Viewable = info.find("IsViewable") != std::string::npos;
  const int left = number("Absolute upper-left X"), top = number("Absolute upper-left Y");
  window.Bounds = {left, top, left + number("Width"), top + number("Height")};
  return window;
}

void TXServer::XdoTool(const std::string& commands, const std::string& window) const {
  const std::string focus = window.empty() ? "" : "windowfocus --sync " + window + " ";
  std::system(("DISPLAY=" + FName + " xdotool " + focus + commands + " 2>/dev/null").c_str());
}

}  // namespace kiv
