#pragma once
// A folder of its own for the running test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

namespace kiv {

// <temporary folder>/<prefix><process id>_<test name>, with the links in the temporary
// folder's path resolved (so that it reads as programs under test print it). Made
// empty, and removed with all it holds at the end.
class TTestFolder {
 public:
  explicit TTestFolder(std::string_view prefix = "kiv_");
  ~TTestFolder();
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;

  const std::filesystem::path& Path() const { return FPath; }

 private:
  std::filesystem::path FPath;
};

// A test with a folder of its own in folder.
class TempFolderTest : public ::testing::Test {
 protected:
  explicit TempFolderTest(std::string_view prefix = "kiv_") : FFolder(prefix) {}

 private:
  TTestFolder FFolder;

 protected:
  const std::filesystem::path folder = FFolder.Path();
};

}  // namespace kiv
