#pragma once
// The tsy commands: what each is called, what it takes and what its help
// says, in one table (command_table.cpp) that parsing, the help texts and the
// usage lines all read. A command's function gets its words already checked
// against the table.

#include <span>
#include <string_view>

#include "cli/arguments.h"

namespace tsy::cli {

using CommandFunction = int (*)(const Arguments& args);

struct Command {
  const char* name;
  CommandFunction run;
  const char* summary;  // one line, for the command list of tsy help
  const char* help;     // the paragraph of tsy NAME --help: what it does, then its exit codes
  PositionalRule positional;
  std::span<const OptionRule> options;
};

// Every command, in the order tsy help lists them.
std::span<const Command> Commands();

// The command called `name`, or nullptr.
const Command* FindCommand(std::string_view name);

// One function per command, each in its own <name>_command.cpp; each returns
// the exit code.
int RunCompile(const Arguments& args);
int RunDump(const Arguments& args);
int RunSmf(const Arguments& args);
int RunPlay(const Arguments& args);
int RunRender(const Arguments& args);
int RunDevices(const Arguments& args);
int RunLsp(const Arguments& args);
int RunHelp(const Arguments& args);

}  // namespace tsy::cli
