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

// The user's pictures folder: XDG_PICTURES_DIR of the user's folder settings
// ($XDG_CONFIG_HOME/user-dirs.dirs, else ~/.config/user-dirs.dirs), else ~/Pictures when
// it is there, else the home folder.
std::string PicturesFolder();

}  // namespace kiv
