#include "midiout/message_delivery.h"

#include "core/engine/channel_record.h"

namespace tsy {

void MessageDelivery::SendShort(MessageWord message) {
  std::lock_guard lock(mutex_);
  RecordShort(message);
  if (backend_) backend_->SendShort(message);
}

void MessageDelivery::SendLong(const uint8_t* bytes, size_t length) {
  std::lock_guard lock(mutex_);
  RecordLong(bytes, length);
  if (backend_) backend_->SendLong(bytes, length);
}

void MessageDelivery::Release() {
  std::lock_guard lock(mutex_);
  if (!backend_) return;
  backend_->Reset();
  backend_.reset();
}

// Clock messages change no channel setting: they go straight to the device.
void MessageDelivery::OnClock(ClockEvent event, uint32_t tick) {
  if (!sendClock_) return;
  std::lock_guard lock(mutex_);
  if (!backend_) return;
  MessageWord messages[kMostClockMessages];
  const int n = clock_.Messages(event, tick, messages);
  for (int i = 0; i < n; ++i) backend_->SendShort(messages[i]);
}

void MessageDelivery::Attach(std::unique_ptr<OutputBackend> backend) {
  std::lock_guard lock(mutex_);
  backend_ = std::move(backend);
  clock_ = MidiClock();  // a new output has heard no Start
}

BackendKind MessageDelivery::kind() {
  std::lock_guard lock(mutex_);
  return backend_ ? backend_->kind() : BackendKind::kStandby;
}

std::chrono::microseconds MessageDelivery::latency() {
  std::lock_guard lock(mutex_);
  return backend_ ? backend_->latency() : std::chrono::microseconds{};
}

MessageDelivery& Delivery() {
  static MessageDelivery delivery;
  return delivery;
}

int SendShort(MessageWord message) {
  Delivery().SendShort(message);
  return 1;
}

int SendLong(const uint8_t* bytes, size_t length) {
  Delivery().SendLong(bytes, length);
  return 1;
}

}  // namespace tsy
