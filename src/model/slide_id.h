#pragma once
// The id by which actions and macros name a slide.
#include <string>
#include <string_view>

#include "ini/ini_ident_list.h"

namespace kiv {

// The file name of a picture path without folder and extension; a trailing separator is
// dropped first, and "\" and "/" both separate folders.
std::u16string PictureBaseName(std::u16string_view path);

// The slide's "slideid", else the base name of its "picture".
std::u16string SlideIdOf(const TIniIdentList& slide);

}  // namespace kiv
