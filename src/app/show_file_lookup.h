#pragma once
// Finding the show another show names. Shows name each other as they were written where
// they were made ("..\Shows\Two.exe"); here the show may lie under another case, as a
// program without ".exe", or as its loose ".KvShow" file.
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

// The file on disk that stands for path (either separator; a relative path is taken
// from folder): path itself, else its name without ".exe", else with ".KvShow"; each
// part of the path is matched ignoring case when it is not there as written. A path
// with a drive letter names nothing here.
std::optional<std::u16string> ExistingShowFile(std::u16string_view path, std::u16string_view folder);

// The show written names, seen from the current show (whose files lie in showFolder and
// which was built as exeName, "" when not known): written as it stands (relative: from
// the current folder); else as written lies from exeName's folder, the same way from
// showFolder; else written's file name in showFolder.
std::optional<std::u16string> FindShowFile(std::u16string_view written, std::u16string_view exeName,
                                           std::u16string_view showFolder);

}  // namespace kiv
