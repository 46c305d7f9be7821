#pragma once
// Choosing the program log from the command line: "-filelog" writes a file named like
// the program, "-log" writes to standard error, otherwise nothing is logged.
#include <memory>
#include <string>

#include "app/command_line.h"
#include "base/log.h"

namespace kiv {

// The program path with the extension ".log".
std::string LogFilePath(const std::string& programPath);

// $XDG_STATE_HOME, else ~/.local/state: where a log goes when the program folder is closed.
std::string UserStateFolder();

// The file log next to the program or, when that cannot be created, in the user's state
// folder under the same name (created if needed; standard error says where). When
// neither can be written, standard error says why and the log is silent.
std::unique_ptr<TLog> OpenFileLog(const std::string& programPath);

std::unique_ptr<TLog> ChooseLog(const TCommandLine& commandLine, const std::string& programPath);

}  // namespace kiv
