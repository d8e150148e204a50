#include "midiout/output_backend.h"

#include <iterator>

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

PortDirectory& CurrentPorts() { return installedPorts ? *installedPorts : SystemPorts(); }

void UsePortDirectory(PortDirectory* directory) { installedPorts = directory; }

}  // namespace tsy
