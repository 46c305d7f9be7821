#pragma once
// The command-line model, built once at start and kept for the life of the process:
// the token list for exact tests and the option table for named options.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/commands_storage.h"

namespace kiv {

// Where the show starts: a 0-based slide number, or a show time in ms.
struct TStartPosition {
  int Value = 0;
  bool IsTime = false;
};

class TCommandLine {
 public:
  TCommandLine() = default;
  // Tokens already cleaned, the program first. A token starting with "-" names the
  // option that the following tokens belong to; before the first one that is "".
  explicit TCommandLine(std::vector<std::u16string> tokens);
  static TCommandLine FromText(std::u16string_view text);
  // Arguments as the system hands them over (UTF-8, already split).
  static TCommandLine FromArguments(int argc, const char* const* argv);

  const std::vector<std::u16string>& Tokens() const { return FTokens; }
  const TCommandsStorage& Options() const { return FOptions; }

  // True when some token equals text exactly, case included.
  bool HasRawArgument(std::u16string_view text) const;
  // True when the option was given, with or without parameters (for switches such as
  // "-log"). Looked up lower-cased like GetOptionValue.
  bool HasOption(std::u16string_view name) const;
  // Parameter number index of the option. The name is looked up lower-cased, so only
  // options typed in lower case are ever found.
  std::optional<std::u16string> GetOptionValue(std::u16string_view name, size_t index = 0) const;
  // The option's first parameter as a whole decimal number that fits 32 bits; none when
  // it is missing or does not parse.
  std::optional<int> GetIntegerValue(std::u16string_view name) const;
  // From "slide" (1-based) or else "time" (ms, start one ms early); values that do not
  // parse or are not positive start at the beginning.
  TStartPosition GetStartPosition() const;
  // The window a start-up window's parent appends as the last token ("-ownerwnd n"):
  // none with fewer than two parameters or when the token is no whole decimal number.
  std::optional<uint64_t> OwnerWindow() const;

 private:
  std::vector<std::u16string> FTokens;
  TCommandsStorage FOptions;
};

// The command line of this process; empty until the entry installs it.
const TCommandLine& ProgramCommandLine();
void SetProgramCommandLine(TCommandLine commandLine);

}  // namespace kiv
