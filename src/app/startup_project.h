#pragma once
// The start-up window runs the show's own start-up dialog as a one-slide show: while the
// player runs with "-startup", the project it reads is replaced by one built from the
// show's "dialog_startup" section.
#include <memory>

#include "container/file_accessor.h"
#include "ini/ini_file.h"

namespace kiv {

// The one-slide project for source, or null when source lacks any of the sections
// "dialog_startup", "main" and "FileMap" (the show then plays unchanged).
std::unique_ptr<TIniFile> BuildStartupProject(const TIniStorage& source);

// A read hook that hands out the start-up project instead of the file projectName.
TFileAccessor::TReadHook StartupProjectHook(std::u16string projectName);

}  // namespace kiv
