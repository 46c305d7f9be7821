#include "kivshow/opened_show.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/text.h"

namespace kiv {

namespace {

namespace fs = std::filesystem;

// Raises EKivError "<path>: not found" or "<path>: is a folder" unless path names a
// file that can be read.
void RequireFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) throw EKivError(path + ": not found");
  if (fs::is_directory(status)) throw EKivError(path + ": is a folder");
  if (!std::ifstream(path, std::ios::binary)) throw EKivError(path + ": cannot be read");
}

// Why a file that is no container does not open as a project either.
std::string ProjectFault(const std::string& path) {
  char head[4] = {};
  std::ifstream(path, std::ios::binary).read(head, sizeof head);
  if (head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F')
    return "a program without a show, or a show damaged at its end";
  return "no [main] section: not a project file";
}

}  // namespace

std::unique_ptr<TKivUnpack> OpenShowContainer(const std::string& path) {
  RequireFile(path);
  auto show = std::make_unique<TKivUnpack>(path);
  if (!show->Usable())
    throw EKivError(path + ": " + (show->Error().empty() ? "not a show container" : Utf16ToUtf8(show->Error())));
  return show;
}

std::unique_ptr<TKivShowLocator> OpenShowOrProject(const std::string& path) {
  RequireFile(path);
  const std::u16string wide = Utf8ToUtf16(path);
  if (IsShowContainer(wide)) {
    TOpenedShow opened = OpenFromExecutable(wide);
    if (!opened.Locator) throw EKivError(path + ": " + Utf16ToUtf8(opened.Error));
    return std::move(opened.Locator);
  }
  std::unique_ptr<TKivShowLocator> locator = OpenFromProject(wide);
  if (!locator) throw EKivError(path + ": " + ProjectFault(path));
  return locator;
}

}  // namespace kiv
