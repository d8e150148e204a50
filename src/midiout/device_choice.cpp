#include "midiout/device_choice.h"

#include <cstdio>

#include "core/engine/engine_call.h"
#include "core/engine/play_controls.h"
#include "midiout/engine_snapshots.h"
#include "midiout/message_delivery.h"
#include "midiout/output_backend.h"
#include "midiout/output_opening.h"
#include "midiout/port_names.h"
#include "midiout/system_ports.h"
#include "resources/string_table.h"
#include "resources/window_texts.h"

namespace tsy {
namespace {

// How earlier versions stored the mapper in the settings file.
constexpr const char* kOldMapperName = "MIDI Mappaer";
constexpr int kSwitchSlot = 0;  // the snapshot that carries play over

// What a setting chooses among the present outputs.
struct Choice {
  int kind = kMapperKind;
  std::string name = kMapperName;  // what OpenOutputName will say once it is open
  bool missing = false;            // the setting names a port that is not there
};

// Finds the setting's output; a port found by its stable name gives the
// setting the port's present name.
Choice Choose(std::string& midiDevice) {
  if (midiDevice == kMapperName) return {};
  if (midiDevice == kDirectMusicName) return {kDirectMusicKind, kDirectMusicName, false};
  const std::vector<std::string> ports = CurrentPorts().PortNames();
  const int port = FindPort(ports, midiDevice);
  if (port < 0) return {kMapperKind, kMapperName, true};
  midiDevice = ports[port];
  return {kFirstPortKind + port, ports[port], false};
}

std::string PortMissingText(const std::string& midiDevice) {
  char text[256];
  std::snprintf(text, sizeof text, kPortMissingFormat, midiDevice.c_str());
  return text;
}

}  // namespace

std::vector<std::string> DeviceNames() {
  std::vector<std::string> names = {kMapperName, kDirectMusicName};
  for (std::string& port : CurrentPorts().PortNames()) names.push_back(std::move(port));
  return names;
}

int ApplyDeviceChoice(std::string& midiDevice, const DeviceNotice& notice) {
  if (midiDevice == kOldMapperName) midiDevice = kMapperName;
  const Choice choice = Choose(midiDevice);
  const std::string open = OpenOutputName();
  if (!open.empty() && open == choice.name) return 1;

  bool resume = false, saved = false;
  if (!open.empty()) {
    const EngineStatus status = GetStatus();
    if (status == EngineStatus::kPlaying || status == EngineStatus::kStarted) {
      Halt();
      resume = true;
    }
    saved = SaveSnapshot(kSwitchSlot) == 1;
  }
  CloseOutput();

  if (choice.missing && notice) notice(PortMissingText(midiDevice));
  const int result = OpenOutput(choice.kind);
  if (result == kOpenFailed && notice) notice(LoadText(TextId::kDeviceQueryFailed));
  if (result == kOpenStandby && notice) notice(LoadText(TextId::kDeviceStandby));

  if (saved) RestoreSnapshot(kSwitchSlot);
  if (resume) Resume();
  return 1;
}

void UseOutputSettings(const std::string& connect, bool clock) {
  ConnectOwnPortTo(connect);
  Delivery().SendClock(clock);
}

}  // namespace tsy
