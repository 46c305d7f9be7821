#pragma once
// Finding the files a show names on disk. Show data was written on systems where
// "\" separates folders and names ignore case; on this system both matter, so a
// name is tried as written and then matched case-insensitively part by part.
#include <string>
#include <string_view>

namespace kiv {

// The UTF-8 path of the regular file that name denotes, or "" when there is none.
// A relative name is taken from the current folder.
std::string FindLooseFile(std::u16string_view name);

}  // namespace kiv
