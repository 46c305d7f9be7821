#pragma once
// What "kivplayer --help" and "kivplayer --version" print.
#include <optional>
#include <string>

#include "app/command_line.h"

namespace kiv {

// The program's name and version, one line.
std::string VersionText();
// How to start the player: its options and the keys of a playing show.
std::string UsageText();

// The text to print for "--help" (or "-h") or "--version" on the command line; none
// when neither was asked for and a show is to play.
std::optional<std::string> InformationRequested(const TCommandLine& commandLine);
// The line to print for the first option the player does not know ("-" options only:
// "/" arguments belong to screen-saver hosts); none when all are known.
std::optional<std::string> UnknownOption(const TCommandLine& commandLine);

}  // namespace kiv
