#pragma once
// The program's entry: reads the command line, chooses the log, opens the show named at
// start and plays it. Returns the process exit code.

namespace kiv {

int RunPlayer(int argc, const char* const* argv);

}  // namespace kiv
