#include "app/start_parameters.h"

#include <filesystem>

#include "app/command_line_tokens.h"
#include "base/file_names.h"
#include "base/text.h"

namespace kiv {

namespace {

bool NeedsQuotes(std::u16string_view argument) {
  if (argument.empty()) return true;
  for (char16_t unit : argument)
    if (unit <= u' ') return true;
  return false;
}

TStartParameters& GlobalStartParameters() {
  static TStartParameters parameters;
  return parameters;
}

}  // namespace

std::u16string RunningProgramPath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::u16string() : Utf8ToUtf16(path.string());
}

std::u16string JoinArguments(int argc, const char* const* argv) {
  std::u16string text;
  for (int i = 0; i < argc; ++i) {
    // Quotes never survive into a token, so dropping them here keeps the round trip.
    const std::u16string argument = CleanToken(Utf8ToUtf16(argv[i]));
    if (i > 0) text += u' ';
    text += NeedsQuotes(argument) ? u"\"" + argument + u"\"" : argument;
  }
  return text;
}

TStartParameters MakeStartParameters(std::u16string programPath, int argc, const char* const* argv) {
  std::u16string folder = FileFolder(programPath);
  return {std::move(programPath), std::move(folder), JoinArguments(argc, argv)};
}

const TStartParameters& StartParameters() { return GlobalStartParameters(); }

void SetStartParameters(TStartParameters parameters) { GlobalStartParameters() = std::move(parameters); }

}  // namespace kiv
