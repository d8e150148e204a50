// tsy devices [-v]: the outputs as the Options sheet offers them; with -v,
// what each of them is.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "midiout/builtin_synth.h"
#include "midiout/device_choice.h"
#include "midiout/output_backend.h"
#include "midiout/output_opening.h"
#include "midiout/port_names.h"

namespace tsy::cli {
namespace {

std::string MapperDetail(const std::vector<std::string>& ports) {
  const std::vector<int> order = MapperOrder(ports);
  if (order.empty()) return "the system's default output: now the built-in synthesiser";
  return "the system's default output: now " + ports[order[0]];
}

std::string SynthDetail() {
  const std::string driver = BuiltinSynth::ProbeAudioDriver();
  if (driver.empty()) return "the built-in synthesiser: no audio driver starts (no sound card or sound server)";
  return "the built-in synthesiser, sounding through the audio driver " + driver;
}

std::string PortDetail(const std::string& name) {
  if (name == kOwnPortName) return std::string("the port of our own: ") + kOwnPortName + ":out";
  return std::string(PortSystemName(name)) + " port";
}

}  // namespace

int RunDevices(const Arguments& args) {
  if (!args.Option("-v")) {
    for (const std::string& name : DeviceNames()) std::printf("%s\n", name.c_str());
    return 0;
  }
  const std::vector<std::string> ports = CurrentPorts().PortNames();
  std::printf("%s\t%s\n", kMapperName, MapperDetail(ports).c_str());
  std::printf("%s\t%s\n", kDirectMusicName, SynthDetail().c_str());
  for (const std::string& name : ports) std::printf("%s\t%s\n", name.c_str(), PortDetail(name).c_str());
  return 0;
}

}  // namespace tsy::cli
