#pragma once
// What tsy prints about itself, all of it from the command table: a command's
// usage line and help, the list of commands, the version.

#include <cstdio>
#include <string>

#include "cli/commands.h"

namespace tsy::cli {

// The command's name and the words it takes: "compile SRC.mus [-o OUT.emd]".
std::string UsageLine(const Command& command);

// "usage: tsy LINE", the help paragraph, then the options one a line.
void PrintCommandHelp(const Command& command, std::FILE* out);

// How tsy is called and every command with its usage line and summary, one a line.
void PrintCommandList(std::FILE* out);

// "tsy (Tessaly32) VERSION" on stdout.
void PrintVersion();

}  // namespace tsy::cli
