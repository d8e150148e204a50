#include "cli/help_text.h"

#include <algorithm>

#include "resources/version.h"
#include "resources/window_texts.h"

namespace tsy::cli {
namespace {

// Every command takes --help, so every command's help lists it.
constexpr OptionRule kHelpOption = {"--help", nullptr, "show this help and exit"};

// "-o OUT.emd", or the name alone for a switch.
std::string OptionWords(const OptionRule& option) {
  std::string words = option.name;
  if (option.valueName) words += std::string(" ") + option.valueName;
  return words;
}

// "SRC", "[SRC]", "SRC..." or "[SRC...]" as the rule's counts allow.
std::string PositionalWords(const PositionalRule& rule) {
  std::string words = rule.name;
  if (rule.max == PositionalRule::kAnyCount || rule.max > 1) words += "...";
  return rule.min == 0 ? "[" + words + "]" : words;
}

void PrintOptionLine(std::FILE* out, const OptionRule& option, int width) {
  std::fprintf(out, "  %-*s  %s\n", width, OptionWords(option).c_str(), option.help);
}

}  // namespace

std::string UsageLine(const Command& command) {
  std::string line = command.name;
  if (command.positional.max != 0) line += " " + PositionalWords(command.positional);
  for (const OptionRule& option : command.options)
    if (!option.beyondUsage) line += " [" + OptionWords(option) + "]";
  return line;
}

void PrintCommandHelp(const Command& command, std::FILE* out) {
  std::fprintf(out, "usage: tsy %s\n%s", UsageLine(command).c_str(), command.help);
  int width = static_cast<int>(OptionWords(kHelpOption).size());
  for (const OptionRule& option : command.options)
    width = std::max(width, static_cast<int>(OptionWords(option).size()));
  std::fputs("options:\n", out);
  for (const OptionRule& option : command.options) PrintOptionLine(out, option, width);
  PrintOptionLine(out, kHelpOption, width);
}

void PrintCommandList(std::FILE* out) {
  std::fputs(
      "usage: tsy <command> [arguments]   (each command takes --help)\n"
      "       tsy --version\n"
      "commands:\n",
      out);
  int width = 0;
  for (const Command& command : Commands()) width = std::max(width, static_cast<int>(UsageLine(command).size()));
  for (const Command& command : Commands())
    std::fprintf(out, "  %-*s  %s\n", width, UsageLine(command).c_str(), command.summary);
}

void PrintVersion() { std::printf("tsy (%s) %s\n", kProgramCaption, FileVersion()); }

}  // namespace tsy::cli
