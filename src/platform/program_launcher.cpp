#include "platform/program_launcher.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <thread>

extern char** environ;

namespace kiv {

namespace {

constexpr std::array<std::string_view, 4> kLinkSchemes{"http", "https", "ftp", "mailto"};
constexpr std::array<std::string_view, 6> kWindowsProgramEndings{".exe", ".com", ".bat", ".cmd", ".scr", ".pif"};

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The scheme of a link ("https" of "https://…"); none for names and for drive letters.
std::optional<std::string> LinkScheme(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(text[0]))) return std::nullopt;
  for (size_t i = 1; i < colon; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return std::nullopt;
  }
  return LowerAscii(text.substr(0, colon));
}

// The extension a Windows program's name ends with, or empty.
std::string_view WindowsProgramEnding(std::string_view name) {
  const std::string lower = LowerAscii(name);
  for (const std::string_view ending : kWindowsProgramEndings)
    if (lower.size() > ending.size() && lower.ends_with(ending)) return ending;
  return {};
}

bool IsFile(const std::string& path, struct stat& info) { return ::stat(path.c_str(), &info) == 0; }

// path, or the entry of its folder whose name differs from it only in case: names
// written on another system often do.
std::optional<std::string> ExistingPath(const std::string& path) {
  struct stat info;
  if (IsFile(path, info)) return path;
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const std::string wanted = LowerAscii(slash == std::string::npos ? path : path.substr(slash + 1));
  if (wanted.empty()) return std::nullopt;
  DIR* directory = ::opendir(folder.c_str());
  if (!directory) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* entry = ::readdir(directory)) {
    if (LowerAscii(entry->d_name) == wanted) {
      found = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + entry->d_name;
      break;
    }
  }
  ::closedir(directory);
  return found;
}

std::string Joined(const std::string& folder, const std::string& name) {
  if (folder.empty() || name.starts_with('/')) return name;
  return folder + (folder.ends_with('/') ? "" : "/") + name;
}

// A name with a folder part is taken from the folder; a bare name is looked for in the
// folder, then along PATH among the programs.
std::optional<std::string> Find(const std::string& name, const std::string& folder) {
  if (std::optional<std::string> path = ExistingPath(Joined(folder, name))) return path;
  if (name.find('/') != std::string::npos) return std::nullopt;
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const std::string_view entry = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    if (entry.empty()) continue;
    const std::string candidate = std::string(entry) + "/" + name;
    struct stat info;
    if (IsFile(candidate, info) && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

std::string Head(const std::string& path) {
  std::string head(2, '\0');
  const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return {};
  const ssize_t got = ::read(file, head.data(), head.size());
  ::close(file);
  head.resize(got > 0 ? size_t(got) : 0);
  return head;
}

// Waits for the child in the background, so that it leaves no zombie behind.
void Reap(pid_t child) {
  std::thread([child] {
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

// Starts file (looked up along PATH when search) with arguments, in a session of its
// own, with /dev/null as its only open files and the signals as a fresh process has them.
TLaunchResult Spawn(const std::string& file, const std::vector<std::string>& arguments, const std::string& folder,
                    bool search) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  sigset_t none;
  sigemptyset(&none);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGCHLD}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(file.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const int error = search ? posix_spawnp(&child, file.c_str(), &actions, &attributes, argv.data(), environ)
                           : posix_spawn(&child, file.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) return {TLaunchStatus::Failed, "it could not be started (" + std::string(std::strerror(error)) + ")"};
  Reap(child);
  return {};
}

TLaunchResult OpenOnDesktop(const std::string& target, const std::string& folder) {
  TLaunchResult result = Spawn("xdg-open", {target}, folder, true);
  if (result.Status != TLaunchStatus::Started)
    result.Reason = "the desktop's opener xdg-open is not available (" + result.Reason + ")";
  return result;
}

TLaunchResult Open(const std::string& found, const TLaunchRequest& request) {
  // A program found in the current folder must not be taken for one along PATH.
  const std::string path = found.find('/') == std::string::npos ? "./" + found : found;
  struct stat info;
  if (!IsFile(path, info)) return {TLaunchStatus::NotFound, "it was not found"};
  if (S_ISDIR(info.st_mode)) return OpenOnDesktop(path, request.Folder);
  if (!S_ISREG(info.st_mode)) return {TLaunchStatus::Refused, "it is neither a file nor a folder"};
  const std::string head = Head(path);
  if (head == "MZ") return {TLaunchStatus::Refused, "it is a Windows program and cannot run here"};
  if (::access(path.c_str(), X_OK) == 0) return Spawn(path, request.Arguments, request.Folder, false);
  // The desktop would run these: only files marked as programs run.
  if (head == "#!" || LowerAscii(path).ends_with(".desktop"))
    return {TLaunchStatus::Refused, "it is a script or a desktop entry that is not marked as a program"};
  return OpenOnDesktop(path, request.Folder);
}

class TSystemLauncher : public IProgramLauncher {
 public:
  TLaunchResult Launch(const TLaunchRequest& request) override {
    if (request.Program.empty()) return {TLaunchStatus::NotFound, "no name was given"};
    if (const std::optional<std::string> scheme = LinkScheme(request.Program)) {
      if (std::find(kLinkSchemes.begin(), kLinkSchemes.end(), *scheme) == kLinkSchemes.end())
        return {TLaunchStatus::Refused, "links of the kind \"" + *scheme + ":\" are not opened"};
      return OpenOnDesktop(request.Program, request.Folder);
    }
    std::string name = request.Program;
    std::replace(name.begin(), name.end(), '\\', '/');
    const std::string_view ending = WindowsProgramEnding(name);
    std::vector<std::string> candidates{name};
    if (!ending.empty()) candidates.push_back(name.substr(0, name.size() - ending.size()));
    for (const std::string& candidate : candidates)
      if (const std::optional<std::string> found = Find(candidate, request.Folder)) return Open(*found, request);
    return {TLaunchStatus::NotFound, ending.empty() ? "it was not found"
                                                    : "it is a Windows program, and no program of that name is here"};
  }
};

}  // namespace

IProgramLauncher& SystemLauncher() {
  static TSystemLauncher launcher;
  return launcher;
}

}  // namespace kiv
