// tsy: the command-line tool over the Tessaly32 core.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "cli/commands.h"

namespace tsy::cli {
namespace {

// The commands, in the order the help lists them.
constexpr Command kCommands[] = {
    {"compile", RunCompile, "compile SRC.mus [-o OUT.emd]       compile a source into an object image"},
    {"dump", RunDump, "dump FILE                          list an image's header and events (.emd or .mus)"},
    {"smf", RunSmf, "smf SRC [-o OUT.mid]               export a Standard MIDI File (format 0)"},
    {"play", RunPlay, "play SRC [--device NAME] [--seconds N]  play through a MIDI output"},
    {"render", RunRender, "render SRC [-o OUT.wav] [--soundfont SF2]  render through the built-in synthesiser"},
    {"devices", RunDevices, "devices                            list the MIDI outputs"},
    {"help", nullptr, "help                               this list"},
};

void PrintUsage(FILE* out) {
  std::fputs("usage: tsy <command> [arguments]   (each command takes --help)\ncommands:\n", out);
  for (const Command& c : kCommands) std::fprintf(out, "  %s\n", c.usage);
}

}  // namespace
}  // namespace tsy::cli

int main(int argc, char** argv) {
  using namespace tsy::cli;
  if (argc < 2) {
    PrintUsage(stderr);
    return 2;
  }
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) != 0) continue;
    if (!c.run) break;
    return c.run(argc, argv, 2);
  }
  if (std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
    PrintUsage(stdout);
    return 0;
  }
  std::fprintf(stderr, "tsy: unknown command '%s'\n", argv[1]);
  PrintUsage(stderr);
  return 2;
}
