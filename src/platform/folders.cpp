#include "platform/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace kiv {

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(path, error);
}

TFolderMade MakePrivateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) == 0) return TFolderMade::Made;
  return errno == EEXIST ? TFolderMade::Exists : TFolderMade::Failed;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  const passwd* user = ::getpwuid(::getuid());
  return user && user->pw_dir ? user->pw_dir : "";
}

}  // namespace kiv
