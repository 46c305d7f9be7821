#include "support/build_folder.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace kiv::testing {

const char* BuildFolder() {
  static const std::string folder = [] {
    if (const char* given = std::getenv("KIV_BUILD_DIR"); given && *given) return std::string(given);
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().parent_path().parent_path().string();
  }();
  return folder.c_str();
}

}  // namespace kiv::testing
