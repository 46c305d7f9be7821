#include "container/temp_folders.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "base/guid.h"
#include "platform/folders.h"
#include "platform/termination.h"

namespace kiv {

namespace {

namespace fs = std::filesystem;

std::mutex gLock;
std::vector<std::string> gFolders;

std::string NewFolderName() {
  std::u16string guid = NewGuidText();  // "{...}"
  return "[" + Utf16ToUtf8(std::u16string_view(guid).substr(1, guid.size() - 2)) + "]";
}

}  // namespace

std::string TempRoot() {
  const char* tmpdir = std::getenv("TMPDIR");
  if (tmpdir && IsFolder(tmpdir)) return tmpdir;
  if (IsFolder("/tmp")) return "/tmp";
  KIV_FAIL("Temp Path not Found");
}

std::string MakeTempFolder(bool appendSlash) {
  const fs::path root = TempRoot();
  std::string folder = (root / NewFolderName()).string();
  // A new name only helps when the last one was taken; any other failure is final.
  for (int attempt = 0;; ++attempt) {
    const TFolderMade made = MakePrivateFolder(folder);
    if (made == TFolderMade::Made) break;
    if (made == TFolderMade::Failed || attempt == 100)
      throw EKivError("Cannot create a temporary folder in " + root.string());
    folder = (root / NewFolderName()).string();
  }
  {
    std::lock_guard lock(gLock);
    if (gFolders.empty()) OnTermination(RemoveTempFolders);
    gFolders.push_back(folder);
  }
  return appendSlash ? folder + "/" : folder;
}

void RemoveTempFolders() {
  std::vector<std::string> folders;
  {
    std::lock_guard lock(gLock);
    folders.swap(gFolders);
  }
  for (const std::string& folder : folders) {
    std::error_code error;
    fs::remove_all(folder, error);
  }
}

}  // namespace kiv
