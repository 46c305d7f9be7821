#pragma once
// The texts fixed at start: where the program lies and how it was called.
#include <string>

namespace kiv {

struct TStartParameters {
  std::u16string ProgramPath;
  std::u16string ProgramFolder;  // with a trailing "/"
  std::u16string CommandLine;
};

// The path of the running executable, as the system reports it.
std::u16string RunningProgramPath();

// Arguments joined into one command-line text that splits back into the same tokens:
// each is cleaned like a token, and one that is empty or holds blanks or control
// characters is put in quotes.
std::u16string JoinArguments(int argc, const char* const* argv);

TStartParameters MakeStartParameters(std::u16string programPath, int argc, const char* const* argv);

// The start parameters of this process; empty until the entry installs them.
const TStartParameters& StartParameters();
void SetStartParameters(TStartParameters parameters);

}  // namespace kiv
