#include "midiout/output_backend.h"

#include <iterator>

#include "core/engine/engine_call.h"
#include "midiout/system_ports.h"

namespace tsy {
namespace {

// ORDER BACKEND
constexpr const char* kBackendNames[] = {
    "system MIDI port",
    "built-in synthesiser",
    "recorder",
    "standby",
};
static_assert(std::size(kBackendNames) == static_cast<size_t>(BackendKind::kCount), "one name per backend kind");

PortDirectory* installedPorts = nullptr;

}  // namespace

const char* BackendName(BackendKind kind) { return kBackendNames[static_cast<size_t>(kind)]; }

void ByteOutput::SendShort(uint32_t message) {
  const uint8_t bytes[3] = {static_cast<uint8_t>(message), static_cast<uint8_t>(message >> 8),
                            static_cast<uint8_t>(message >> 16)};
  Send(bytes, ShortMessageLength(bytes[0]));
}

void SilenceEveryChannel(OutputBackend& backend) {
  for (int channel = 0; channel < 16; ++channel) {
    backend.SendShort(ControlChangeWord(channel, midi::kSustain, 0));
    backend.SendShort(ControlChangeWord(channel, midi::kAllNotesOff, 0));
  }
}

PortDirectory& CurrentPorts() { return installedPorts ? *installedPorts : SystemPorts(); }

void UsePortDirectory(PortDirectory* directory) { installedPorts = directory; }

}  // namespace tsy
