#pragma once
// The commands of kivshow, the author's tool that packs a project and its files into a
// show, looks into built shows, renders their frames and exports them as video. Each
// command has its option table, its help text and its action; the dispatcher turns usage
// errors and failures into messages and exit codes (0 done, 1 failed, 2 wrong command
// line; export stopped by a signal answers 128 + its number).
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "kivshow/command_arguments.h"

namespace kiv {

struct TKivShowCommand {
  std::string_view Name;
  std::string_view Summary;  // one line for the general help
  std::string_view Usage;    // the command's help text
  std::span<const TOptionSpec> Options;
  // Raises EUsageError for a command line it cannot run with, EKivError for failures.
  int (*Run)(const TCommandArguments& arguments, std::ostream& out, std::ostream& err);
};

const TKivShowCommand& PackCommand();
const TKivShowCommand& ListCommand();
const TKivShowCommand& ExtractCommand();
const TKivShowCommand& InfoCommand();
const TKivShowCommand& RenderCommand();
const TKivShowCommand& ExportCommand();

// Runs one command line (the words after the program name) and answers the exit code.
int RunKivShow(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kiv
