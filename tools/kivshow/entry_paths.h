#pragma once
// Where an entry is written when a show is extracted. Entry names are the paths the
// project used, often absolute Windows paths ("C:\Users\x\a.jpg"); they become paths
// inside the output folder and can never lead out of it.
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

// The UTF-8 path relative to the output folder, parts joined by "/": "\" separates
// like "/", a drive prefix "X:" and leading separators are dropped, empty and "."
// parts are left out. None when a ".." part or a NUL appears or nothing is left.
std::optional<std::string> SafeEntryPath(std::u16string_view name);

}  // namespace kiv
