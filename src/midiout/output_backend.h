#pragma once
// One open MIDI output as the message delivery sees it. Every backend (a
// system port, the built-in synthesiser, the recorder of tests and
// benchmarks) implements this; standby is the absence of a backend.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/midi/midi_bytes.h"

namespace tsy {

// ORDER BACKEND: kBackendNames in output_backend.cpp follows this order.
enum class BackendKind {
  kSystemPort,    // a system MIDI output port (RtMidi)
  kBuiltinSynth,  // the built-in software synthesiser (FluidSynth)
  kRecorder,      // keeps every message with its send time, for tests and benchmarks
  kStandby,       // nothing opened: messages go nowhere
  kCount
};

// The bytes of a short message by its status: the status and its data bytes.
constexpr size_t ShortMessageLength(uint8_t status) { return 1 + static_cast<size_t>(midi::DataBytes(status)); }

// What the user is told the output is, e.g. "built-in synthesiser".
const char* BackendName(BackendKind kind);

class OutputBackend {
 public:
  virtual ~OutputBackend() = default;

  virtual BackendKind kind() const = 0;
  // One MIDI short message in MessageWord packing: status in bits 0-7,
  // first data byte in bits 8-15, second in bits 16-23.
  virtual void SendShort(uint32_t message) = 0;
  // One system-exclusive message, F0 to F7 inclusive.
  virtual void SendLong(const uint8_t* bytes, size_t length) = 0;
  // Silences the device before it is let go: every note off, controllers reset.
  virtual void Reset() = 0;
  // How long after it is sent each message reaches the device, the same for
  // every message: zero for outputs that pass a message on as it comes.
  virtual std::chrono::microseconds latency() const { return {}; }
};

// An output that takes every message as its bytes, status byte first: a
// port, or the recorder.
class ByteOutput : public OutputBackend {
 public:
  void SendShort(uint32_t message) override;
  void SendLong(const uint8_t* bytes, size_t length) override { Send(bytes, length); }

 protected:
  virtual void Send(const uint8_t* bytes, size_t length) = 0;
};

// Sustain off and all notes off on every channel: the Reset of a port.
void SilenceEveryChannel(OutputBackend& backend);

// A set of named output ports that can be opened by index: the system's MIDI
// output ports, or the recording ports that tests and benchmarks put in
// their place (UsePortDirectory).
class PortDirectory {
 public:
  virtual ~PortDirectory() = default;
  // The port names in index order; empty when the MIDI system is unavailable.
  virtual std::vector<std::string> PortNames() = 0;
  // Opens port `index`; null when it does not open.
  virtual std::unique_ptr<OutputBackend> OpenPort(int index) = 0;
};

// The directory that device choice and opening use: the system's own ports
// unless UsePortDirectory installed another (null restores the system's).
PortDirectory& CurrentPorts();
void UsePortDirectory(PortDirectory* directory);

}  // namespace tsy
