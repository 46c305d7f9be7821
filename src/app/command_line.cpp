#include "app/command_line.h"

#include <limits>

#include "app/command_line_tokens.h"
#include "base/text.h"

namespace kiv {

namespace {

// A whole decimal integer with an optional sign that fits 32 bits.
std::optional<int> ParseInteger(std::u16string_view text) {
  const bool negative = text.starts_with(u'-');
  if (negative || text.starts_with(u'+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (char16_t unit : text) {
    if (unit < u'0' || unit > u'9') return std::nullopt;
    value = value * 10 + (unit - u'0');
    if (value > int64_t(std::numeric_limits<int>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return std::nullopt;
  return int(value);
}

TCommandLine& GlobalCommandLine() {
  static TCommandLine commandLine;
  return commandLine;
}

}  // namespace

TCommandLine::TCommandLine(std::vector<std::u16string> tokens) : FTokens(std::move(tokens)) {
  TCommand* current = &FOptions.Add(u"");
  for (const std::u16string& token : FTokens) {
    if (token.starts_with(u'-'))
      current = &FOptions.Add(std::u16string_view(token).substr(1));
    else
      current->Items.push_back({token});
  }
}

TCommandLine TCommandLine::FromText(std::u16string_view text) { return TCommandLine(SplitCommandLine(text)); }

TCommandLine TCommandLine::FromArguments(int argc, const char* const* argv) {
  std::vector<std::u16string> tokens;
  for (int i = 0; i < argc; ++i) tokens.push_back(CleanToken(Utf8ToUtf16(argv[i])));
  return TCommandLine(std::move(tokens));
}

bool TCommandLine::HasRawArgument(std::u16string_view text) const {
  for (const std::u16string& token : FTokens)
    if (token == text) return true;
  return false;
}

bool TCommandLine::HasOption(std::u16string_view name) const { return FOptions.Find(LowerCase(name)) != nullptr; }

std::optional<std::u16string> TCommandLine::GetOptionValue(std::u16string_view name, size_t index) const {
  const TCommand* command = FOptions.Find(LowerCase(name));
  if (!command || index >= command->Items.size()) return std::nullopt;
  return command->Items[index].Text;
}

TStartPosition TCommandLine::GetStartPosition() const {
  TStartPosition position;
  std::optional<std::u16string> text = GetOptionValue(u"slide");
  if (!text) {
    text = GetOptionValue(u"time");
    position.IsTime = text.has_value();
  }
  if (text) {
    const std::optional<int> value = ParseInteger(*text);
    if (value && *value > 0) position.Value = *value - 1;
  }
  return position;
}

std::optional<uint64_t> TCommandLine::OwnerWindow() const {
  if (FTokens.size() < 3 || FTokens.back().empty() || FTokens.back().size() > 19) return std::nullopt;
  uint64_t value = 0;
  for (const char16_t unit : FTokens.back()) {
    if (unit < u'0' || unit > u'9') return std::nullopt;
    value = value * 10 + uint64_t(unit - u'0');
  }
  return value;
}

std::optional<int> TCommandLine::GetIntegerValue(std::u16string_view name) const {
  const std::optional<std::u16string> text = GetOptionValue(name);
  return text ? ParseInteger(*text) : std::nullopt;
}

const TCommandLine& ProgramCommandLine() { return GlobalCommandLine(); }

void SetProgramCommandLine(TCommandLine commandLine) { GlobalCommandLine() = std::move(commandLine); }

}  // namespace kiv
