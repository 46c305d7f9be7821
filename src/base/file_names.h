#pragma once
// Path pieces as the player needs them. Show data names files with Windows paths,
// so "\" separates folders as well as "/".
#include <string>
#include <string_view>

namespace kiv {

// The folder of a path with its trailing "/" ("" for a bare name).
std::u16string FileFolder(std::u16string_view path);
// The last part of a path.
std::u16string FileNameOf(std::u16string_view path);
// The path with the extension of its last part (from its last ".") replaced by
// extension, or extension appended when the last part has none.
std::u16string ChangeFileExtension(std::u16string_view path, std::u16string_view extension);
// An absolute path stays; a relative one is taken from folder. Both come back with
// "." and ".." parts resolved.
std::u16string AbsolutePath(std::u16string_view path, std::u16string_view folder);

}  // namespace kiv
