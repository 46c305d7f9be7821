#include "app/log_choice.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "base/file_names.h"
#include "base/text.h"
#include "platform/folders.h"

namespace kiv {

namespace {

void SayOnStderr(const std::string& programPath, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", Utf16ToUtf8(FileNameOf(Utf8ToUtf16(programPath))).c_str(), message.c_str());
}

}  // namespace

std::string LogFilePath(const std::string& programPath) {
  return Utf16ToUtf8(ChangeFileExtension(Utf8ToUtf16(programPath), u".log"));
}

std::string UserStateFolder() {
  // Only an absolute $XDG_STATE_HOME counts; a relative one is to be ignored.
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') return state;
  return (std::filesystem::path(HomeFolder()) / ".local" / "state").string();
}

std::unique_ptr<TLog> OpenFileLog(const std::string& programPath) {
  const std::string path = LogFilePath(programPath);
  try {
    return std::make_unique<TFileLog>(path);
  } catch (const EFOpenError&) {
    // The program folder is not writable (an installed program, a read-only medium).
  }
  const std::filesystem::path folder = UserStateFolder();
  const std::string fallback = (folder / std::filesystem::path(path).filename()).string();
  try {
    std::error_code ignored;  // a folder that cannot be made shows up when the file is created
    std::filesystem::create_directories(folder, ignored);
    auto log = std::make_unique<TFileLog>(fallback);
    SayOnStderr(programPath, "log written to " + fallback + " (program folder not writable)");
    return log;
  } catch (const EFOpenError& error) {
    SayOnStderr(programPath, std::string("no log written: ") + error.what());
    return std::make_unique<TLog>();
  }
}

std::unique_ptr<TLog> ChooseLog(const TCommandLine& commandLine, const std::string& programPath) {
  if (commandLine.HasOption(u"filelog")) return OpenFileLog(programPath);
  if (commandLine.HasOption(u"log")) return std::make_unique<TStdLog>();
  return std::make_unique<TLog>();
}

}  // namespace kiv
