#pragma once
// The texts of a project that may name files of the show: the value of every ident in
// every section and nested object, and both sides of every "FileMap" line. Which of
// them really are files is for the caller to find out on disk.
#include <string>
#include <vector>

#include "ini/ini_storage.h"

namespace kiv {

// In document order, each text once (exact comparison); values lose blanks and one pair
// of double quotes around them; empty texts are left out.
std::vector<std::u16string> ProjectFileNames(const TIniStorage& project);

// The files the show's pictures, masks, sounds and clips are read from ("ImageName",
// "Sound" and "FileName" values, a "?stream" suffix cut off), each once; drawn masks,
// mixed-sound descriptions and "LoadFromDisk:" names, which are never packed, left out.
std::vector<std::u16string> ProjectMediaFiles(const TIniStorage& project);

// The button themes the project's buttons use ("Theme" values), each once.
std::vector<std::u16string> ProjectButtonThemes(const TIniStorage& project);

}  // namespace kiv
