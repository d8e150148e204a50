#pragma once
// The desktop program's command line: `tessaly32 [FILE]`, or --help or
// --version, which print and end the program before any window opens.

#include <string>
#include <vector>

namespace tsy {

struct CommandLine {
  enum Action { kRun, kHelp, kVersion, kBad };
  Action action = kRun;
  std::string file;   // kRun: the file to open once the window is up, absolute; "" for none
  std::string error;  // kBad: what is wrong with the arguments
};

// Reads the arguments after the program's name. FILE must be a file that can
// be read; "--" ends the options, so a file may begin with "-".
CommandLine ReadCommandLine(const std::vector<std::string>& arguments);

// What --help prints.
std::string CommandLineHelp();

// What --version prints.
std::string CommandLineVersion();

}  // namespace tsy
