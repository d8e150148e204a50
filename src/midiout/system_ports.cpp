#include "midiout/system_ports.h"

#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "midiout/jack_midi_port.h"
#include "midiout/library_logs.h"
#include "midiout/port_names.h"

namespace tsy {
namespace {

constexpr const char* kClientName = "Tessaly32";
// Every port we open is "Tessaly32:out", whether connected to one port or
// waiting for others to connect to it.
constexpr const char* kOutPortName = "out";

std::string ownPortConnection;

// RtMidi reports on stderr unless told otherwise; a lost message or a port
// that does not open is handled where it matters.
void IgnoreRtMidiError(RtMidiError::Type, const std::string&, void*) {}

// Without the ALSA sequencer device RtMidi and the library under it print
// errors of their own on every attempt, so an absent sequencer is not asked.
bool AlsaSequencerPresent() { return access("/dev/snd/seq", R_OK | W_OK) == 0; }

// A new RtMidi output client of the ALSA sequencer, or null when it refuses one.
std::unique_ptr<RtMidiOut> NewClient() {
  QuietLibraryLogs();
  try {
    auto client = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, kClientName);
    client->setErrorCallback(IgnoreRtMidiError);
    return client;
  } catch (const RtMidiError&) {
    return nullptr;
  }
}

std::vector<std::string> ClientPortNames(RtMidiOut& client) {
  std::vector<std::string> names;
  try {
    const unsigned count = client.getPortCount();
    for (unsigned i = 0; i < count; ++i) names.push_back(client.getPortName(i));
  } catch (const RtMidiError&) {
  }
  return names;
}

// An ALSA sequencer port through its RtMidi client.
class SequencerPort : public ByteOutput {
 public:
  explicit SequencerPort(std::unique_ptr<RtMidiOut> client) : client_(std::move(client)) {}
  ~SequencerPort() override {
    try {
      client_->closePort();
    } catch (const RtMidiError&) {
    }
  }

  BackendKind kind() const override { return BackendKind::kSystemPort; }
  void Reset() override { SilenceEveryChannel(*this); }

 private:
  // A lost message is not reported: the device simply did not take it.
  void Send(const uint8_t* bytes, size_t length) override {
    try {
      client_->sendMessage(bytes, length);
    } catch (const RtMidiError&) {
    }
  }

  std::unique_ptr<RtMidiOut> client_;
};

// The port of our own on every MIDI system at once.
class PortGroup : public OutputBackend {
 public:
  explicit PortGroup(std::vector<std::unique_ptr<OutputBackend>> ports) : ports_(std::move(ports)) {}

  BackendKind kind() const override { return BackendKind::kSystemPort; }
  void SendShort(uint32_t message) override {
    for (auto& port : ports_) port->SendShort(message);
  }
  void SendLong(const uint8_t* bytes, size_t length) override {
    for (auto& port : ports_) port->SendLong(bytes, length);
  }
  void Reset() override {
    for (auto& port : ports_) port->Reset();
  }
  std::chrono::microseconds latency() const override {
    std::chrono::microseconds most{};
    for (const auto& port : ports_) most = std::max(most, port->latency());
    return most;
  }

 private:
  std::vector<std::unique_ptr<OutputBackend>> ports_;
};

// Sequencer port `index` as "Tessaly32:out" connected to it, or, with no
// index, the port of our own waiting for others to connect to it; null when
// it does not open.
std::unique_ptr<OutputBackend> OpenSequencerPort(std::optional<unsigned> index) {
  std::unique_ptr<RtMidiOut> client = NewClient();
  if (!client) return nullptr;
  try {
    if (!index) client->openVirtualPort(kOutPortName);
    else if (*index < client->getPortCount()) client->openPort(*index, kOutPortName);
    else return nullptr;
  } catch (const RtMidiError&) {
    return nullptr;
  }
  return std::make_unique<SequencerPort>(std::move(client));
}

// One entry of the listing: the port of our own, or a port of one MIDI
// system with its index there.
enum class PortSystem { kOwn, kSequencer, kJack };
struct ListedPort {
  PortSystem system;
  unsigned index;
  std::string name;
};

// The port of our own first (when any MIDI system is there), then the
// sequencer's ports, then JACK's MIDI inputs.
std::vector<ListedPort> ListPorts() {
  std::vector<ListedPort> ports = {{PortSystem::kOwn, 0, kOwnPortName}};
  const bool sequencer = AlsaSequencerPresent();
  if (std::unique_ptr<RtMidiOut> client = sequencer ? NewClient() : nullptr) {
    const std::vector<std::string> names = ClientPortNames(*client);
    for (unsigned i = 0; i < names.size(); ++i) ports.push_back({PortSystem::kSequencer, i, names[i]});
  }
  const std::optional<std::vector<std::string>> jack = JackMidiInputs();
  if (jack) {
    for (unsigned i = 0; i < jack->size(); ++i) ports.push_back({PortSystem::kJack, i, (*jack)[i]});
  }
  if (!sequencer && !jack) ports.clear();
  return ports;
}

// The port of our own on `system`: connected to the port ConnectOwnPortTo
// named where this system has it, else waiting for others to connect.
std::unique_ptr<OutputBackend> OpenOwnPort(PortSystem system, const std::vector<ListedPort>& ports) {
  std::vector<std::string> names;
  std::vector<unsigned> indexes;
  for (const ListedPort& port : ports) {
    if (port.system != system) continue;
    names.push_back(port.name);
    indexes.push_back(port.index);
  }
  const int target = ownPortConnection.empty() ? -1 : FindPort(names, ownPortConnection);
  if (system == PortSystem::kJack) return OpenJackMidiPort(target < 0 ? std::string() : names[target]);
  return OpenSequencerPort(target < 0 ? std::nullopt : std::optional<unsigned>(indexes[target]));
}

class RtMidiPorts : public PortDirectory {
 public:
  std::vector<std::string> PortNames() override {
    std::vector<std::string> names;
    for (ListedPort& port : ListPorts()) names.push_back(std::move(port.name));
    return names;
  }

  std::unique_ptr<OutputBackend> OpenPort(int index) override {
    const std::vector<ListedPort> ports = ListPorts();
    if (index < 0 || static_cast<size_t>(index) >= ports.size()) return nullptr;
    const ListedPort& port = ports[index];
    switch (port.system) {
      case PortSystem::kOwn: return OpenOwnPorts(ports);
      case PortSystem::kSequencer: return OpenSequencerPort(port.index);
      case PortSystem::kJack: return OpenJackMidiPort(port.name);
    }
    return nullptr;
  }

 private:
  // The port of our own on each MIDI system that is there.
  static std::unique_ptr<OutputBackend> OpenOwnPorts(const std::vector<ListedPort>& ports) {
    std::vector<std::unique_ptr<OutputBackend>> opened;
    if (AlsaSequencerPresent())
      if (auto port = OpenOwnPort(PortSystem::kSequencer, ports)) opened.push_back(std::move(port));
    if (auto port = OpenOwnPort(PortSystem::kJack, ports)) opened.push_back(std::move(port));
    if (opened.empty()) return nullptr;
    if (opened.size() == 1) return std::move(opened.front());
    return std::make_unique<PortGroup>(std::move(opened));
  }
};

}  // namespace

PortDirectory& SystemPorts() {
  static RtMidiPorts ports;
  return ports;
}

void ConnectOwnPortTo(const std::string& portName) { ownPortConnection = portName; }

}  // namespace tsy
