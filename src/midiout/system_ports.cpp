#include "midiout/system_ports.h"

#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <memory>

#include "core/engine/engine_call.h"
#include "core/midi/midi_bytes.h"
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

// The MIDI systems that are there now, in listing order. Without the ALSA
// sequencer device or a JACK server RtMidi and the libraries under it print
// errors of their own on every attempt, so absent systems are not asked.
std::vector<RtMidi::Api> PresentApis() {
  std::vector<RtMidi::Api> apis;
#ifdef __linux__
  if (access("/dev/snd/seq", R_OK | W_OK) == 0) apis.push_back(RtMidi::LINUX_ALSA);
  if (JackServerRunning()) apis.push_back(RtMidi::UNIX_JACK);
#else
  apis.push_back(RtMidi::UNSPECIFIED);
#endif
  return apis;
}

// A new RtMidi output client of `api`, or null when the system refuses one.
std::unique_ptr<RtMidiOut> NewClient(RtMidi::Api api) {
  QuietLibraryLogs();
  try {
    auto client = std::make_unique<RtMidiOut>(api, kClientName);
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

// Sends to one or more RtMidi clients: a system port has one, the port of
// our own one per MIDI system.
class SystemPortBackend : public OutputBackend {
 public:
  explicit SystemPortBackend(std::vector<std::unique_ptr<RtMidiOut>> clients) : clients_(std::move(clients)) {}
  ~SystemPortBackend() override {
    for (auto& client : clients_) {
      try {
        client->closePort();
      } catch (const RtMidiError&) {
      }
    }
  }

  BackendKind kind() const override { return BackendKind::kSystemPort; }

  void SendShort(uint32_t message) override {
    const uint8_t bytes[3] = {static_cast<uint8_t>(message), static_cast<uint8_t>(message >> 8),
                              static_cast<uint8_t>(message >> 16)};
    Send(bytes, ShortMessageLength(bytes[0]));
  }

  void SendLong(const uint8_t* bytes, size_t length) override { Send(bytes, length); }

  void Reset() override {
    for (int channel = 0; channel < 16; ++channel) {
      SendShort(ControlChangeWord(channel, midi::kSustain, 0));
      SendShort(ControlChangeWord(channel, midi::kAllNotesOff, 0));
    }
  }

 private:
  // A lost message is not reported: the device simply did not take it.
  void Send(const uint8_t* bytes, size_t length) {
    for (auto& client : clients_) {
      try {
        client->sendMessage(bytes, length);
      } catch (const RtMidiError&) {
      }
    }
  }

  std::vector<std::unique_ptr<RtMidiOut>> clients_;
};

// Opens port `index` of `api` as "Tessaly32:out" connected to it; null
// when it does not open.
std::unique_ptr<RtMidiOut> OpenClientPort(RtMidi::Api api, unsigned index) {
  std::unique_ptr<RtMidiOut> client = NewClient(api);
  if (!client) return nullptr;
  try {
    if (index >= client->getPortCount()) return nullptr;
    client->openPort(index, kOutPortName);
  } catch (const RtMidiError&) {
    return nullptr;
  }
  return client;
}

// The port of our own on `api`: connected to the port ConnectOwnPortTo
// named where this system has it, else waiting for others to connect.
std::unique_ptr<RtMidiOut> OpenOwnPort(RtMidi::Api api) {
  std::unique_ptr<RtMidiOut> client = NewClient(api);
  if (!client) return nullptr;
  try {
    const int target = ownPortConnection.empty() ? -1 : FindPort(ClientPortNames(*client), ownPortConnection);
    if (target >= 0) client->openPort(static_cast<unsigned>(target), kOutPortName);
    else client->openVirtualPort(kOutPortName);
  } catch (const RtMidiError&) {
    return nullptr;
  }
  return client;
}

// One entry of the listing: the system it belongs to and its index there.
struct ListedPort {
  RtMidi::Api api;
  unsigned index;
  std::string name;
};

// The port of our own first (when any MIDI system is there), then every
// system's ports in system order.
std::vector<ListedPort> ListPorts() {
  std::vector<ListedPort> ports;
  const std::vector<RtMidi::Api> apis = PresentApis();
  if (apis.empty()) return ports;
  ports.push_back({RtMidi::UNSPECIFIED, 0, kOwnPortName});
  for (RtMidi::Api api : apis) {
    std::unique_ptr<RtMidiOut> client = NewClient(api);
    if (!client) continue;
    const std::vector<std::string> names = ClientPortNames(*client);
    for (unsigned i = 0; i < names.size(); ++i) ports.push_back({api, i, names[i]});
  }
  return ports;
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
    std::vector<std::unique_ptr<RtMidiOut>> clients;
    if (index == 0) {
      for (RtMidi::Api api : PresentApis())
        if (auto client = OpenOwnPort(api)) clients.push_back(std::move(client));
    } else if (auto client = OpenClientPort(ports[index].api, ports[index].index)) {
      clients.push_back(std::move(client));
    }
    if (clients.empty()) return nullptr;
    return std::make_unique<SystemPortBackend>(std::move(clients));
  }
};

}  // namespace

PortDirectory& SystemPorts() {
  static RtMidiPorts ports;
  return ports;
}

void ConnectOwnPortTo(const std::string& portName) { ownPortConnection = portName; }

}  // namespace tsy
