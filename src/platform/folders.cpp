#include "platform/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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

namespace {

// The value of XDG_PICTURES_DIR in a user-dirs.dirs file: a quoted path, "$HOME" standing
// for the home folder; empty when the file does not set it.
std::string PicturesSetting(const std::string& file, const std::string& home) {
  std::ifstream in(file);
  std::string line;
  const std::string key = "XDG_PICTURES_DIR=";
  while (std::getline(in, line)) {
    if (line.compare(0, key.size(), key) != 0) continue;
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
    return value;
  }
  return "";
}

}  // namespace

std::string PicturesFolder() {
  const std::string home = HomeFolder();
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string settings = (config && *config ? std::string(config) : home + "/.config") + "/user-dirs.dirs";
  if (const std::string set = PicturesSetting(settings, home); IsFolder(set)) return set;
  if (IsFolder(home + "/Pictures")) return home + "/Pictures";
  return home;
}

}  // namespace kiv
