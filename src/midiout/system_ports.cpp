#include "midiout/system_ports.h"

#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <memory>

#include "core/engine/engine_call.h"
#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr const char* kClientName = "Tessaly32";

#ifdef __linux__
constexpr RtMidi::Api kApi = RtMidi::LINUX_ALSA;
#else
constexpr RtMidi::Api kApi = RtMidi::UNSPECIFIED;
#endif

// False when the MIDI system is plainly absent. Without the ALSA sequencer
// device RtMidi and libasound print errors of their own on every attempt;
// we report the absence once, in our own words, where it matters.
bool MidiSystemPresent() {
#ifdef __linux__
  return access("/dev/snd/seq", R_OK | W_OK) == 0;
#else
  return true;
#endif
}

// A new RtMidi output client, or null when the MIDI system refuses one.
std::unique_ptr<RtMidiOut> NewClient() {
  if (!MidiSystemPresent()) return nullptr;
  try {
    return std::make_unique<RtMidiOut>(kApi, kClientName);
  } catch (const RtMidiError&) {
    return nullptr;
  }
}

class SystemPortBackend : public OutputBackend {
 public:
  explicit SystemPortBackend(std::unique_ptr<RtMidiOut> client) : client_(std::move(client)) {}
  ~SystemPortBackend() override {
    try {
      client_->closePort();
    } catch (const RtMidiError&) {
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
    try {
      client_->sendMessage(bytes, length);
    } catch (const RtMidiError&) {
    }
  }

  std::unique_ptr<RtMidiOut> client_;
};

class RtMidiPorts : public PortDirectory {
 public:
  std::vector<std::string> PortNames() override {
    std::vector<std::string> names;
    std::unique_ptr<RtMidiOut> client = NewClient();
    if (!client) return names;
    try {
      const unsigned count = client->getPortCount();
      for (unsigned i = 0; i < count; ++i) names.push_back(client->getPortName(i));
    } catch (const RtMidiError&) {
    }
    return names;
  }

  std::unique_ptr<OutputBackend> OpenPort(int index) override {
    std::unique_ptr<RtMidiOut> client = NewClient();
    if (!client || index < 0) return nullptr;
    try {
      if (static_cast<unsigned>(index) >= client->getPortCount()) return nullptr;
      client->openPort(static_cast<unsigned>(index), kClientName);
    } catch (const RtMidiError&) {
      return nullptr;
    }
    return std::make_unique<SystemPortBackend>(std::move(client));
  }
};

}  // namespace

PortDirectory& SystemPorts() {
  static RtMidiPorts ports;
  return ports;
}

bool IsThroughPort(const std::string& name) { return name.find("Through") != std::string::npos; }

}  // namespace tsy
