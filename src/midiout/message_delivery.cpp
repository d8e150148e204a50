#include "midiout/message_delivery.h"

#include <cstring>

namespace tsy {
namespace {

constexpr uint8_t kGmSystemOn[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
constexpr uint8_t kGsReset[] = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
constexpr uint8_t kXgSystemOn[] = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
constexpr uint8_t kSc88ModeSet[] = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x00, 0x01, 0xF7};

constexpr uint16_t kFineTuneParameter = 0x0001;  // registered parameter (0, 1): msb << 8 | lsb
constexpr uint16_t kNoParameter = 0x7F7F;        // (127, 127): no parameter selected
constexpr uint16_t kPedalFlags = kChanSustain | kChanSoftPedal;

// A 14-bit value with one of its 7-bit halves replaced.
int16_t WithUpperSeven(int16_t value, uint8_t upper) {
  return static_cast<int16_t>((upper & 0x7F) << 7 | (value & 0x7F));
}
int16_t WithLowerSeven(int16_t value, uint8_t lower) { return static_cast<int16_t>((value & ~0x7F) | (lower & 0x7F)); }

void SetFlag(Relaxed<uint16_t>& flags, uint16_t bit, bool on) {
  flags = static_cast<uint16_t>(on ? (flags | bit) : (flags & ~bit));
}

void MirrorController(EngineState& s, int c, uint8_t controller, uint8_t value) {
  switch (controller) {
    case 0: s.bankMsb[c] = value; break;
    case 6:
      if (s.rpn[c] == kFineTuneParameter) s.fineTune[c] = WithUpperSeven(s.fineTune[c], value);
      break;
    case 7: s.volume[c] = value; break;
    case 10: s.pan[c] = value; break;
    case 11: s.expression[c] = value; break;
    case 32: s.bankLsb[c] = value; break;
    case 38:
      if (s.rpn[c] == kFineTuneParameter) s.fineTune[c] = WithLowerSeven(s.fineTune[c], value);
      break;
    case 64: SetFlag(s.chanFlags[c], kChanSustain, value >= 64); break;
    case 67: SetFlag(s.chanFlags[c], kChanSoftPedal, value >= 64); break;
    case 91: s.reverb[c] = value; break;
    case 93: s.chorus[c] = value; break;
    case 98: s.nrpn[c] = static_cast<uint16_t>((s.nrpn[c] & 0xFF00) | value); break;
    case 99: s.nrpn[c] = static_cast<uint16_t>((s.nrpn[c] & 0x00FF) | value << 8); break;
    case 100: s.rpn[c] = static_cast<uint16_t>((s.rpn[c] & 0xFF00) | value); break;
    case 101: s.rpn[c] = static_cast<uint16_t>((s.rpn[c] & 0x00FF) | value << 8); break;
    case 121:  // reset all controllers
      s.bendNow[c] = 0;
      SetFlag(s.chanFlags[c], kPedalFlags, false);
      s.expression[c] = 127;
      s.rpn[c] = kNoParameter;
      s.nrpn[c] = kNoParameter;
      break;
    default: break;
  }
}

// Keeps the engine's record of channel settings as the message leaves them.
void MirrorShort(MessageWord message) {
  const uint8_t status = WordStatus(message);
  const int channel = status & 0x0F;
  if ((status & 0xF0) == 0xC0) GetState().program[channel] = WordData1(message);
  if ((status & 0xF0) == 0xB0) MirrorController(GetState(), channel, WordData1(message), WordData2(message));
}

// After a device reset every channel is as the device's reset leaves it.
void MirrorReset(EngineState& s, uint32_t seenBit) {
  s.resetsSeen = s.resetsSeen | seenBit;
  for (int c = 0; c < kChannelCount; ++c) {
    s.chanFlags[c] = c == 9 ? kChanRhythmNames : 0;
    s.program[c] = 0;
    s.expression[c] = 127;
    s.bendNow[c] = 0;
    s.fineTune[c] = 8192;
    s.pan[c] = 64;
    s.reverb[c] = 40;
    s.chorus[c] = 0;
    s.volume[c] = 100;
  }
}

void MirrorLong(const uint8_t* bytes, size_t length) {
  for (const DeviceReset& reset : kDeviceResets)
    if (length >= reset.length && std::memcmp(bytes, reset.bytes, reset.length) == 0)
      MirrorReset(GetState(), reset.seenBit);
}

}  // namespace

const DeviceReset kDeviceResets[4] = {
    {kGmSystemOn, sizeof kGmSystemOn, kResetGmSystemOn, "GM System On"},
    {kGsReset, sizeof kGsReset, kResetGs, "GS Reset"},
    {kXgSystemOn, sizeof kXgSystemOn, kResetXgSystemOn, "XG System On"},
    {kSc88ModeSet, sizeof kSc88ModeSet, kResetSc88Mode, "SC-88 system mode set"},
};

void MessageDelivery::SendShort(MessageWord message) {
  std::lock_guard lock(mutex_);
  MirrorShort(message);
  if (backend_) backend_->SendShort(message);
}

void MessageDelivery::SendLong(const uint8_t* bytes, size_t length) {
  std::lock_guard lock(mutex_);
  MirrorLong(bytes, length);
  if (backend_) backend_->SendLong(bytes, length);
}

void MessageDelivery::Release() {
  std::lock_guard lock(mutex_);
  if (!backend_) return;
  backend_->Reset();
  backend_.reset();
}

void MessageDelivery::Attach(std::unique_ptr<OutputBackend> backend) {
  std::lock_guard lock(mutex_);
  backend_ = std::move(backend);
}

BackendKind MessageDelivery::kind() {
  std::lock_guard lock(mutex_);
  return backend_ ? backend_->kind() : BackendKind::kStandby;
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
