#include "support/test_folder.h"

#include <unistd.h>

#include <string>

namespace kiv {

namespace fs = std::filesystem;

TTestFolder::TTestFolder(std::string_view prefix)
    : FPath(fs::canonical(fs::temp_directory_path()) /
            (std::string(prefix) + std::to_string(::getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
  fs::remove_all(FPath);
  fs::create_directories(FPath);
}

TTestFolder::~TTestFolder() {
  std::error_code ignored;
  fs::remove_all(FPath, ignored);
}

}  // namespace kiv
