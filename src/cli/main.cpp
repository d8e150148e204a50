// tsy: the command-line tool over the Tessaly32 core.
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <string_view>

#include "cli/commands.h"
#include "cli/help_text.h"

namespace tsy::cli {
namespace {

// Runs `command` on argv[first..argc) once its words fit the command's rules:
// --help shows the help instead, and words that do not fit are refused here,
// for every command alike.
int RunCommand(const Command& command, int argc, char** argv, int first) {
  const std::optional<Arguments> args = ParseArguments(command.options, argc, argv, first);
  if (!args) return kUsageFault;
  if (args->help) {
    PrintCommandHelp(command, stdout);
    return 0;
  }
  if (!command.positional.Allows(args->positional.size())) {
    PrintCommandHelp(command, stderr);
    return kUsageFault;
  }
  return command.run(*args);
}

}  // namespace
}  // namespace tsy::cli

int main(int argc, char** argv) {
  using namespace tsy::cli;
  if (argc < 2) {
    PrintCommandList(stderr);
    return kUsageFault;
  }
  const std::string_view word = argv[1];
  if (word == "--version") {
    PrintVersion();
    return 0;
  }
  if (word == "--help" || word == "-h") {
    PrintCommandList(stdout);
    return 0;
  }
  const Command* command = FindCommand(word);
  if (!command) {
    std::fprintf(stderr, "tsy: unknown command '%s'\n", argv[1]);
    PrintCommandList(stderr);
    return kUsageFault;
  }
  // A peer that goes away (a JACK server stopped, the feed's or the output's
  // reader closed) fails the write that reaches it; it never ends tsy.
  std::signal(SIGPIPE, SIG_IGN);
  // Whatever goes wrong ends with a word and exit 2, never with an abort;
  // unwinding also removes the temporary file of a write under way.
  try {
    return RunCommand(*command, argc, argv, 2);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "tsy %s: out of memory\n", argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tsy %s: %s\n", argv[1], e.what());
  }
  return 2;
}
