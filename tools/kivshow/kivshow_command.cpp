#include "kivshow/kivshow_command.h"

#include <filesystem>

#include <array>
#include <functional>
#include <iomanip>

namespace kiv {

namespace {

const std::array<std::reference_wrapper<const TKivShowCommand>, 6> kCommands = {
    PackCommand(), ListCommand(), ExtractCommand(), InfoCommand(), RenderCommand(), ExportCommand()};

void WriteGeneralUsage(std::ostream& stream) {
  stream << "Usage: kivshow <command> [options]\n\nCommands:\n";
  for (const TKivShowCommand& command : kCommands)
    stream << "  " << std::left << std::setw(10) << command.Name << command.Summary << "\n";
  stream << "\nRun \"kivshow <command> --help\" for the options of a command.\n";
}

const TKivShowCommand* FindCommand(std::string_view name) {
  for (const TKivShowCommand& command : kCommands)
    if (command.Name == name) return &command;
  return nullptr;
}

int RunCommand(const TKivShowCommand& command, std::span<const std::string> args, std::ostream& out,
               std::ostream& err) {
  try {
    const TCommandArguments arguments(args, command.Options);
    if (arguments.HelpAsked()) {
      out << command.Usage;
      return 0;
    }
    return command.Run(arguments, out, err);
  } catch (const EUsageError& e) {
    err << "kivshow " << command.Name << ": " << e.what() << "\n\n" << command.Usage;
    return 2;
  } catch (const EKivError& e) {
    err << "kivshow " << command.Name << ": " << e.what() << "\n";
    return 1;
  } catch (const std::filesystem::filesystem_error& e) {
    // The system's words for a file that could not be handled, with its path.
    err << "kivshow " << command.Name << ": " << e.path1().string() << ": " << e.code().message() << "\n";
    return 1;
  } catch (const std::exception& e) {
    err << "kivshow " << command.Name << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace

int RunKivShow(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    WriteGeneralUsage(out);
    return 0;
  }
  const TKivShowCommand* command = args.empty() ? nullptr : FindCommand(args[0]);
  if (!command) {
    if (!args.empty()) err << "kivshow: unknown command \"" << args[0] << "\"\n\n";
    WriteGeneralUsage(err);
    return 2;
  }
  return RunCommand(*command, args.subspan(1), out, err);
}

}  // namespace kiv
