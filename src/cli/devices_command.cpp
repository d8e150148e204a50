// tsy devices: the outputs as the Options sheet offers them.
#include <cstdio>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "midiout/device_choice.h"

namespace tsy::cli {
namespace {

constexpr const char* kDevicesHelp =
    "usage: tsy devices\n"
    "Lists the MIDI outputs, one a line, as the Options sheet offers them:\n"
    "\"MIDI Mapper\" (the system's default output), \"Direct Music\" (the built-in\n"
    "synthesiser), then every system MIDI output port. Any of these names can be\n"
    "given to tsy play --device.\n";

}  // namespace

int RunDevices(int argc, char** argv, int first) {
  std::optional<Arguments> args = ParseArguments(argc, argv, first, {});
  if (!args) return 2;
  if (args->help) {
    std::fputs(kDevicesHelp, stdout);
    return 0;
  }
  if (!args->positional.empty()) {
    std::fputs(kDevicesHelp, stderr);
    return 2;
  }
  for (const std::string& name : DeviceNames()) std::printf("%s\n", name.c_str());
  return 0;
}

}  // namespace tsy::cli
