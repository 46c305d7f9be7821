#include "engine/run_commands.h"

#include <algorithm>
#include <array>

#include "base/log.h"
#include "base/text.h"

namespace kiv {

namespace {

// The command words a show may never run.
constexpr std::array<std::u16string_view, 36> kProhibitedWords{
    u"at",      u"attrib",  u"call",     u"cmd",     u"command", u"copy",    u"del",      u"deltree",
    u"erase",   u"for",     u"format",   u"fdisk",   u"runonce", u"move",    u"net",      u"runas",
    u"net1",    u"ren",     u"rename",   u"replace", u"rmdir",   u"rd",      u"recover",  u"regedit",
    u"rundll",  u"qstart",  u"start",    u"sys",     u"type",    u"xcopy",   u"regsrv",   u"regedt32",
    u"regsvr32", u"rcp",    u"ftp",      u"tftp"};

bool IsBlank(char16_t c) { return c <= u' '; }

std::u16string Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::u16string(text);
}

std::u16string WithoutQuotes(std::u16string_view text) {
  std::u16string result(text);
  std::erase(result, u'"');
  return result;
}

bool IsQuoted(std::u16string_view text) { return text.size() >= 2 && text.front() == u'"' && text.back() == u'"'; }

std::u16string_view Unquoted(std::u16string_view text) { return IsQuoted(text) ? text.substr(1, text.size() - 2) : text; }

// One surrounding pair of quotes off, for texts longer than 5 characters.
std::u16string_view StrippedForRetry(std::u16string_view text) { return text.size() > 5 ? Unquoted(text) : text; }

std::u16string_view FileNameOf(std::u16string_view path) {
  const size_t separator = path.find_last_of(u"\\/");
  return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

TLaunchRequest Request(std::u16string_view program, std::u16string_view parameters, std::u16string_view folder) {
  TLaunchRequest request;
  request.Program = Utf16ToUtf8(Unquoted(program));
  for (const std::u16string& argument : ParameterList(parameters)) request.Arguments.push_back(Utf16ToUtf8(argument));
  request.Folder = Utf16ToUtf8(folder);
  return request;
}

bool SameRequest(const TLaunchRequest& a, const TLaunchRequest& b) {
  return a.Program == b.Program && a.Arguments == b.Arguments && a.Folder == b.Folder;
}

// The attempts after the first that the program was not found by.
std::vector<TLaunchRequest> Retries(const TCommandParts& parts, std::u16string_view folder) {
  if (!parts.Parameters.empty())
    return {Request(StrippedForRetry(parts.Program), StrippedForRetry(parts.Parameters), folder)};
  std::u16string_view base = folder;
  if (base.size() > 3 && (base.back() == u'\\' || base.back() == u'/')) base.remove_suffix(1);
  return {Request(FileNameOf(Unquoted(parts.Program)), {}, folder),
          Request(std::u16string(base) + u"/" + std::u16string(Unquoted(parts.Program)), {}, folder)};
}

bool Launch(const TCommandParts& parts, const TCommandRunner& runner) {
  const TLaunchRequest first = Request(parts.Program, parts.Parameters, runner.Folder);
  Log().Write("RunCommands: " + first.Program);
  if (runner.BeforeLaunch) runner.BeforeLaunch();
  const TLaunchResult result = runner.Launcher.Launch(first);
  TLaunchResult last = result;
  if (result.Status == TLaunchStatus::NotFound) {
    const TLaunchRequest* tried = &first;
    for (const TLaunchRequest& retry : Retries(parts, runner.Folder)) {
      if (last.Status != TLaunchStatus::NotFound) break;
      if (SameRequest(retry, *tried)) continue;
      last = runner.Launcher.Launch(retry);
      tried = &retry;
    }
  }
  if (runner.AfterLaunch) runner.AfterLaunch(last.Status == TLaunchStatus::Started);
  if (last.Status == TLaunchStatus::Started) return true;
  // A name found nowhere keeps the first attempt's reason, which speaks of the name as written.
  const std::string& reason = last.Status == TLaunchStatus::NotFound ? result.Reason : last.Reason;
  const std::u16string message = u"\"" + Utf8ToUtf16(first.Program) + u"\" cannot be opened: " + Utf8ToUtf16(reason);
  Log().Write("RunCommands: " + Utf16ToUtf8(message));
  if (runner.Tell) runner.Tell(message);
  return false;
}

}  // namespace

std::vector<std::u16string> SplitCommands(std::u16string_view text) {
  if (text.find(u',') == std::u16string_view::npos) return {std::u16string(text)};
  std::vector<std::u16string> commands;
  std::u16string piece;
  bool quoted = false;
  for (const char16_t c : std::u16string(text) + u",") {
    if (c == u'"') quoted = !quoted;
    if (c == u',' && !quoted) {
      commands.push_back(Trim(piece));
      piece.clear();
    } else {
      piece += c;
    }
  }
  return commands;
}

bool IsProhibitedCommand(std::u16string_view command) {
  if (command.find(u'>') != std::u16string_view::npos) return true;
  std::u16string text;
  bool quoted = false;
  for (const char16_t c : command) {
    if (c == u'"') quoted = !quoted;
    if (c == u'@' || c == u'"' || c == u'|') continue;
    text += quoted && (c == u' ' || c == u'\t') ? u'_' : c;
  }
  std::u16string_view word = text;
  while (!word.empty() && (word.front() == u' ' || word.front() == u'\t')) word.remove_prefix(1);
  word = word.substr(0, word.find_first_of(u" \t"));
  std::u16string lower = LowerCase(word);
  for (const char16_t separator : {u'\\', u'/'}) {
    const size_t last = lower.rfind(separator);
    if (last != std::u16string::npos) lower.erase(0, last + 1);
  }
  lower = lower.substr(0, lower.find(u'.'));
  return std::find(kProhibitedWords.begin(), kProhibitedWords.end(), lower) != kProhibitedWords.end();
}

TCommandParts SplitProgram(std::u16string_view command) {
  const std::u16string whole = Trim(command);
  const bool startsQuoted = !whole.empty() && whole.front() == u'"';
  const size_t end = startsQuoted ? whole.find(u'"', 1) : whole.find(u' ');
  const std::u16string_view program = std::u16string_view(whole).substr(0, end);
  const std::u16string_view rest = end == std::u16string::npos ? std::u16string_view() : std::u16string_view(whole).substr(end);
  TCommandParts parts{Trim(WithoutQuotes(program)), Trim(WithoutQuotes(rest))};
  if (startsQuoted) parts.Program = u"\"" + parts.Program + u"\"";
  // Quotes around nothing would hand the program an empty argument.
  if (rest.find(u'"') != std::u16string_view::npos && !parts.Parameters.empty())
    parts.Parameters = u"\"" + parts.Parameters + u"\"";
  return parts;
}

std::vector<std::u16string> ParameterList(std::u16string_view parameters) {
  if (IsQuoted(parameters)) return {std::u16string(Unquoted(parameters))};
  std::vector<std::u16string> words;
  std::u16string word;
  for (const char16_t c : std::u16string(parameters) + u" ") {
    if (c != u' ' && c != u'\t') {
      word += c;
    } else if (!word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
  }
  return words;
}

std::u16string EnsurePrefix(std::u16string_view text, std::initializer_list<std::u16string_view> prefixes) {
  for (const std::u16string_view prefix : prefixes)
    if (text.starts_with(prefix)) return std::u16string(text);
  return std::u16string(prefixes.size() ? *prefixes.begin() : std::u16string_view()) + std::u16string(text);
}

bool RunCommands(std::u16string_view text, const TCommandRunner& runner) {
  const std::vector<std::u16string> commands = SplitCommands(text);
  if (std::any_of(commands.begin(), commands.end(), [](const std::u16string& command) { return IsProhibitedCommand(command); })) {
    Log().Write("RunCommands: prohibited command in " + Utf16ToUtf8(text));
    if (runner.Tell) runner.Tell(kProhibitedCommandText);
    return false;
  }
  bool all = true;
  for (const std::u16string& command : commands) {
    const TCommandParts parts = SplitProgram(command);
    if (!parts.Program.empty()) all = Launch(parts, runner) && all;
  }
  return all;
}

bool OpenLink(std::u16string_view link, const TCommandRunner& runner) {
  if (IsProhibitedCommand(link)) {
    if (runner.Tell) runner.Tell(kProhibitedCommandText);
    return false;
  }
  const std::u16string whole = Trim(link);
  if (whole.empty()) return false;
  return Launch({whole, {}}, runner);
}

}  // namespace kiv
