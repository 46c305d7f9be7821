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

}  // namespace kiv
