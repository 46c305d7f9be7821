#pragma once
// The programs, documents and links a show's actions start: a list of commands split
// at commas, checked against the commands a show may never run, each split into a
// program and its parameters and handed to the launcher, looked for again beside the
// show when it is not found.
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/program_launcher.h"

namespace kiv {

inline constexpr std::u16string_view kProhibitedCommandText =
    u"Command line contains prohibited command and will not be performed.";

// Without a comma the whole text; else the pieces between commas outside double
// quotes, trimmed.
std::vector<std::u16string> SplitCommands(std::u16string_view text);

// Whether the command's first word (lower case, without folders and extension, with
// "@", "|" and quotes taken out) is one a show may never run ("cmd", "del", "format"
// …), or the command redirects (">").
bool IsProhibitedCommand(std::u16string_view command);

struct TCommandParts {
  std::u16string Program;     // in double quotes when it was written so
  std::u16string Parameters;  // in double quotes when they held any
};

// The program runs to the first blank, or when the command starts with a double quote
// to the next one; quotes are dropped and both parts trimmed.
TCommandParts SplitProgram(std::u16string_view command);

// The arguments parameters give a program: one when they are quoted, else the words.
std::vector<std::u16string> ParameterList(std::u16string_view parameters);

// text when it starts with one of prefixes (exactly), else the first prefix + text.
std::u16string EnsurePrefix(std::u16string_view text, std::initializer_list<std::u16string_view> prefixes);

struct TCommandRunner {
  IProgramLauncher& Launcher;
  std::u16string Folder;  // the show's folder: where programs run and are looked for again
  std::function<void(std::u16string_view message)> Tell;  // what the user must know
  // Around each program started (with the attempts after the first): before, and
  // after with whether it started.
  std::function<void()> BeforeLaunch;
  std::function<void(bool started)> AfterLaunch;
};

// Runs every command of text, or none of them (with kProhibitedCommandText told) when
// one is prohibited. A program or document that is not found is tried again: without
// parameters by its file name in the folder, then as the folder + its name; with
// parameters with one pair of surrounding quotes taken off each. What does not start
// is told. True when all started.
bool RunCommands(std::u16string_view text, const TCommandRunner& runner);

// A link opened whole: a mail link with several addresses is one link, not a list.
bool OpenLink(std::u16string_view link, const TCommandRunner& runner);

}  // namespace kiv
