#pragma once
// The tsy commands. Each takes the words after its name and returns the exit code.

namespace tsy::cli {

using CommandFunction = int (*)(int argc, char** argv, int first);

struct Command {
  const char* name;
  CommandFunction run;
  const char* usage;  // one line: the command's words
};

// One function per command, each in its own <name>_command.cpp.
// (Commands are added to this list and to kCommands in main.cpp as they land.)
int RunCompile(int argc, char** argv, int first);
int RunDump(int argc, char** argv, int first);
int RunPlay(int argc, char** argv, int first);
int RunRender(int argc, char** argv, int first);
int RunDevices(int argc, char** argv, int first);
int RunSmf(int argc, char** argv, int first);

}  // namespace tsy::cli
