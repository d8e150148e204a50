#pragma once
// The command line of one tsy command: positional words and "-x VALUE" /
// "--name VALUE" options, checked against what the command accepts.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tsy::cli {

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // "-o" -> "out.emd"
  bool help = false;                           // "--help" was given

  std::optional<std::string> Option(const std::string& name) const;
};

// Parses argv[first..argc). `valueOptions` lists the options that take a
// value. Returns nothing (after printing the fault to stderr) for an unknown
// option or a missing value.
std::optional<Arguments> ParseArguments(int argc, char** argv, int first, const std::vector<std::string>& valueOptions);

}  // namespace tsy::cli
