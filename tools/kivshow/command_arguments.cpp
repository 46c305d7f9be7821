#include "kivshow/command_arguments.h"

#include <algorithm>

namespace kiv {

namespace {

const TOptionSpec* FindSpec(std::span<const TOptionSpec> specs, std::string_view word) {
  for (const TOptionSpec& spec : specs)
    if (word == spec.Name || (!spec.Alias.empty() && word == spec.Alias)) return &spec;
  return nullptr;
}

}  // namespace

TCommandArguments::TCommandArguments(std::span<const std::string> args, std::span<const TOptionSpec> specs) {
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (optionsEnded || word.size() < 2 || word[0] != '-') {
      FPositional.push_back(word);
    } else if (word == "--") {
      optionsEnded = true;
    } else if (word == "--help" || word == "-h") {
      FHelpAsked = true;
    } else if (const TOptionSpec* spec = FindSpec(specs, word)) {
      if (!spec->Repeatable && Has(spec->Name)) throw EUsageError("option " + word + " is given twice");
      if (spec->TakesValue && i + 1 == args.size()) throw EUsageError("option " + word + " needs a value");
      FGiven.push_back({spec->Name, spec->TakesValue ? args[++i] : std::string()});
    } else {
      throw EUsageError("unknown option " + word);
    }
  }
}

bool TCommandArguments::Has(std::string_view name) const {
  return std::any_of(FGiven.begin(), FGiven.end(), [name](const TGiven& given) { return given.Name == name; });
}

std::string TCommandArguments::Value(std::string_view name, std::string_view def) const {
  for (const TGiven& given : FGiven)
    if (given.Name == name) return given.Value;
  return std::string(def);
}

std::vector<std::string> TCommandArguments::Values(std::string_view name) const {
  std::vector<std::string> values;
  for (const TGiven& given : FGiven)
    if (given.Name == name) values.push_back(given.Value);
  return values;
}

}  // namespace kiv
