#pragma once
// Folders on disk and the user's home. Paths are UTF-8.
#include <string>

namespace kiv {

bool IsFolder(const std::string& path);

enum class TFolderMade { Made, Exists, Failed };
// Makes path as a folder only its owner may enter; Exists when the name is taken.
TFolderMade MakePrivateFolder(const std::string& path);

// $HOME, else the user database's home folder; "" when neither is known.
std::string HomeFolder();

}  // namespace kiv
