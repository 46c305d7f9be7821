#pragma once
// When a project file is played directly and names (in "opt_exefn") the program it will
// be built into, later requests to open that program open the project file instead.
#include <string>

namespace kiv {

struct TReplacePair {
  std::u16string ExePath;
  std::u16string ProjectPath;
};

// The process-wide pair; empty until a project with "opt_exefn" is opened.
TReplacePair& ReplacePair();

// The project file that stands for path, or "" when none does (compared ignoring case).
std::u16string ReplacementProjectFor(std::u16string_view path);

}  // namespace kiv
