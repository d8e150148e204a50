// tsy devices: the outputs as the Options sheet offers them.
#include <cstdio>

#include "cli/commands.h"
#include "midiout/device_choice.h"

namespace tsy::cli {
int RunDevices(const Arguments&) {
  for (const std::string& name : DeviceNames()) std::printf("%s\n", name.c_str());
  return 0;
}

}  // namespace tsy::cli
