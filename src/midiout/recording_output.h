#pragma once
// The recorder: an output that keeps every message it is sent, with the
// moment it was sent on the monotonic clock. Tests read what a device would
// have received; the timing benchmark measures when it received it.
// RecordingPorts offers recorders as named ports in place of the system's.

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midiout/output_backend.h"

namespace tsy {

struct RecordedMessage {
  std::chrono::steady_clock::time_point sentAt;
  std::vector<uint8_t> bytes;  // a short message's 2 or 3 bytes, or F0 .. F7
};

// What one recorder has received; shared between the recorder (the open
// output) and whoever reads it, and kept after the output is closed.
class Recording {
 public:
  void Add(const uint8_t* bytes, size_t length);
  std::vector<RecordedMessage> Messages() const;  // a copy, safe while play goes on
  size_t Count() const;
  void Clear();
  // Keeps room for `count` messages so that recording does not allocate
  // while a benchmark measures.
  void Reserve(size_t count);

 private:
  mutable std::mutex mutex_;
  std::vector<RecordedMessage> messages_;
};

class RecordingBackend : public ByteOutput {
 public:
  explicit RecordingBackend(std::shared_ptr<Recording> recording);

  BackendKind kind() const override { return BackendKind::kRecorder; }
  void Reset() override;

 private:
  void Send(const uint8_t* bytes, size_t length) override;

  std::shared_ptr<Recording> recording_;
};

// A port directory of recorders, one per name.
class RecordingPorts : public PortDirectory {
 public:
  explicit RecordingPorts(std::vector<std::string> names);

  std::vector<std::string> PortNames() override { return names_; }
  std::unique_ptr<OutputBackend> OpenPort(int index) override;

  // What port `index` received, across every time it was opened.
  Recording& recording(int index) { return *recordings_.at(index); }

 private:
  std::vector<std::string> names_;
  std::vector<std::shared_ptr<Recording>> recordings_;
};

}  // namespace tsy
