#include "midiout/recording_output.h"

namespace tsy {

void Recording::Add(const uint8_t* bytes, size_t length) {
  const auto now = std::chrono::steady_clock::now();
  std::lock_guard lock(mutex_);
  messages_.push_back({now, std::vector<uint8_t>(bytes, bytes + length)});
}

std::vector<RecordedMessage> Recording::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

size_t Recording::Count() const {
  std::lock_guard lock(mutex_);
  return messages_.size();
}

void Recording::Clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

void Recording::Reserve(size_t count) {
  std::lock_guard lock(mutex_);
  messages_.reserve(count);
}

RecordingBackend::RecordingBackend(std::shared_ptr<Recording> recording) : recording_(std::move(recording)) {}

void RecordingBackend::Send(const uint8_t* bytes, size_t length) { recording_->Add(bytes, length); }

// A recorder has nothing sounding to silence; the reset leaves no trace.
void RecordingBackend::Reset() {}

RecordingPorts::RecordingPorts(std::vector<std::string> names) : names_(std::move(names)) {
  for (size_t i = 0; i < names_.size(); ++i) recordings_.push_back(std::make_shared<Recording>());
}

std::unique_ptr<OutputBackend> RecordingPorts::OpenPort(int index) {
  if (index < 0 || static_cast<size_t>(index) >= recordings_.size()) return nullptr;
  return std::make_unique<RecordingBackend>(recordings_[index]);
}

}  // namespace tsy
