#include "midiout/device_choice.h"

#include <algorithm>

#include "core/engine/engine_call.h"
#include "core/engine/play_controls.h"
#include "midiout/engine_snapshots.h"
#include "midiout/output_backend.h"
#include "midiout/output_opening.h"

namespace tsy {
namespace {

// How earlier versions stored the mapper in the settings file.
constexpr const char* kOldMapperName = "MIDI Mappaer";
constexpr int kSwitchSlot = 0;  // the snapshot that carries play over

// The kind to open for the setting; a name no port has becomes the mapper.
int KindFor(std::string& midiDevice) {
  const std::vector<std::string> ports = CurrentPorts().PortNames();
  const auto port = std::find(ports.begin(), ports.end(), midiDevice);
  if (port == ports.end() && midiDevice != kDirectMusicName) midiDevice = kMapperName;
  if (midiDevice == kMapperName) return kMapperKind;
  if (midiDevice == kDirectMusicName) return kDirectMusicKind;
  return kFirstPortKind + static_cast<int>(port - ports.begin());
}

}  // namespace

std::vector<std::string> DeviceNames() {
  std::vector<std::string> names = {kMapperName, kDirectMusicName};
  for (std::string& port : CurrentPorts().PortNames()) names.push_back(std::move(port));
  return names;
}

int ApplyDeviceChoice(std::string& midiDevice, const DeviceNotice& notice) {
  if (midiDevice == kOldMapperName) midiDevice = kMapperName;
  const std::string open = OpenOutputName();
  if (!open.empty() && open == midiDevice) return 1;

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

  const int result = OpenOutput(KindFor(midiDevice));
  if (result == kOpenFailed && notice) notice(TextId::kDeviceQueryFailed);
  if (result == kOpenStandby && notice) notice(TextId::kDeviceStandby);

  if (saved) RestoreSnapshot(kSwitchSlot);
  if (resume) Resume();
  return 1;
}

}  // namespace tsy
