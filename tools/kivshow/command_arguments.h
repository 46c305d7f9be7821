#pragma once
// The arguments of one kivshow command: options from the command's table (with or
// without a value), everything else positional. "--" ends the options, so a name
// that starts with "-" can still be given.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"

namespace kiv {

// A command line the command cannot run with; the message says what is wrong.
class EUsageError : public EKivError {
 public:
  using EKivError::EKivError;
};

struct TOptionSpec {
  std::string_view Name;   // "--output"
  std::string_view Alias;  // "-o", or empty
  bool TakesValue = false;
  bool Repeatable = false;
};

class TCommandArguments {
 public:
  // Raises EUsageError for an unknown option, a missing value, or an option given twice
  // that cannot repeat. "--help" and "-h" are always known.
  TCommandArguments(std::span<const std::string> args, std::span<const TOptionSpec> specs);

  bool HelpAsked() const { return FHelpAsked; }
  bool Has(std::string_view name) const;
  // The value of an option given once, or def.
  std::string Value(std::string_view name, std::string_view def = {}) const;
  // Every value of a repeatable option, in order.
  std::vector<std::string> Values(std::string_view name) const;
  const std::vector<std::string>& Positional() const { return FPositional; }

 private:
  struct TGiven {
    std::string_view Name;
    std::string Value;
  };
  std::vector<TGiven> FGiven;
  std::vector<std::string> FPositional;
  bool FHelpAsked = false;
};

}  // namespace kiv
