#pragma once
// Message delivery: every message that reaches the open output passes
// through SendShort or SendLong, which first keep the engine's record of
// channel settings (core/engine/channel_record.h), so that the displays and
// the state snapshots always hold what the device last received.

#include <atomic>
#include <memory>
#include <mutex>

#include "core/engine/play_output.h"
#include "midiout/midi_clock.h"
#include "midiout/output_backend.h"

namespace tsy {

// The process's one delivery: the play thread's output, and the way every
// other sender (snapshot restore, Tone window previews) reaches the device.
// Senders on different threads are serialised, one message at a time.
class MessageDelivery : public PlayOutput {
 public:
  void SendShort(MessageWord message) override;
  void SendLong(const uint8_t* bytes, size_t length) override;
  // Silences the backend and lets it go; the delivery is in standby after.
  void Release() override;
  // MIDI clock to the open output, when SendClock asked for it.
  void OnClock(ClockEvent event, uint32_t tick) override;

  // Takes the newly opened output; null means standby.
  void Attach(std::unique_ptr<OutputBackend> backend);
  // The open backend's kind (kStandby when none).
  BackendKind kind();
  // The open backend's latency (zero when none).
  std::chrono::microseconds latency();
  // Whether play sends MIDI clock (midi_clock.h) with the music.
  void SendClock(bool on) { sendClock_ = on; }

 private:
  std::atomic<bool> sendClock_{false};
  MidiClock clock_;  // guarded by mutex_
  std::mutex mutex_;
  std::unique_ptr<OutputBackend> backend_;
};

MessageDelivery& Delivery();

// One message to the open output, mirrored into the engine record. Return 1.
int SendShort(MessageWord message);
int SendLong(const uint8_t* bytes, size_t length);

}  // namespace tsy
