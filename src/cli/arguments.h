#pragma once
// The command line of one tsy command: positional words, "-x VALUE" /
// "--name VALUE" options and switches, checked against the rules of what
// the command takes.

#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tsy::cli {

// The exit code of a command line that the command cannot take.
constexpr int kUsageFault = 2;

// An option a command takes: "-o OUT.emd" takes a value; a switch takes none.
struct OptionRule {
  const char* name;       // "-o", "--device"
  const char* valueName;  // "OUT.emd", "NAME"; nullptr for a switch
  const char* help;       // one line, for the command's --help
  // Listed with the options of --help and in the manual, not in the usage
  // line, which keeps the form it has always had.
  bool beyondUsage = false;
};

// The words after a command's name that are no options, all of one kind.
struct PositionalRule {
  static constexpr int kAnyCount = -1;

  const char* name = nullptr;  // what one word names, as the usage line shows it: "SRC.mus"
  int min = 0;                 // fewer words than this is a usage fault
  int max = 0;                 // so is more (kAnyCount: no limit)

  bool Allows(size_t count) const { return count >= size_t(min) && (max == kAnyCount || count <= size_t(max)); }
};

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // "-o" -> "out.emd"; a switch maps to ""
  bool help = false;                           // "--help" (or "-h") was given
  bool batch = false;                          // one file of several (cli/batch.h)

  std::optional<std::string> Option(const std::string& name) const;
};

// Parses argv[first..argc) against the options a command takes. Returns
// nothing, after printing the fault to stderr, for an unknown option or an
// option without its value.
std::optional<Arguments> ParseArguments(std::span<const OptionRule> rules, int argc, char** argv, int first);

}  // namespace tsy::cli
