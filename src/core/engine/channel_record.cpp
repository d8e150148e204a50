#include "core/engine/channel_record.h"

#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr uint16_t kPedalFlags = kChanSustain | kChanSoftPedal;

// A 14-bit value with one of its 7-bit halves replaced.
int16_t WithUpperSeven(int16_t value, uint8_t upper) {
  return static_cast<int16_t>((upper & 0x7F) << 7 | (value & 0x7F));
}
int16_t WithLowerSeven(int16_t value, uint8_t lower) { return static_cast<int16_t>((value & ~0x7F) | (lower & 0x7F)); }

void SetFlag(Relaxed<uint16_t>& flags, uint16_t bit, bool on) {
  flags = static_cast<uint16_t>(on ? (flags | bit) : (flags & ~bit));
}

void RecordController(EngineState& s, int c, uint8_t controller, uint8_t value) {
  switch (controller) {
    case midi::kBankSelect: s.bankMsb[c] = value; break;
    case midi::kDataEntry:
      if (s.rpn[c] == midi::kRpnFineTune) s.fineTune[c] = WithUpperSeven(s.fineTune[c], value);
      break;
    case midi::kVolume: s.volume[c] = value; break;
    case midi::kPan: s.pan[c] = value; break;
    case midi::kExpression: s.expression[c] = value; break;
    case midi::kBankSelectLsb: s.bankLsb[c] = value; break;
    case midi::kDataEntryLsb:
      if (s.rpn[c] == midi::kRpnFineTune) s.fineTune[c] = WithLowerSeven(s.fineTune[c], value);
      break;
    case midi::kSustain: SetFlag(s.chanFlags[c], kChanSustain, value >= 64); break;
    case midi::kSoftPedal: SetFlag(s.chanFlags[c], kChanSoftPedal, value >= 64); break;
    case midi::kReverbSend: s.reverb[c] = value; break;
    case midi::kChorusSend: s.chorus[c] = value; break;
    case midi::kNrpnLsb: s.nrpn[c] = static_cast<uint16_t>((s.nrpn[c] & 0xFF00) | value); break;
    case midi::kNrpnMsb: s.nrpn[c] = static_cast<uint16_t>((s.nrpn[c] & 0x00FF) | value << 8); break;
    case midi::kRpnLsb: s.rpn[c] = static_cast<uint16_t>((s.rpn[c] & 0xFF00) | value); break;
    case midi::kRpnMsb: s.rpn[c] = static_cast<uint16_t>((s.rpn[c] & 0x00FF) | value << 8); break;
    case midi::kResetAllControllers:
      s.bendNow[c] = 0;
      SetFlag(s.chanFlags[c], kPedalFlags, false);
      s.expression[c] = 127;
      s.rpn[c] = midi::kNoParameter;
      s.nrpn[c] = midi::kNoParameter;
      break;
    default: break;
  }
}

// After a device reset every channel is as the device's reset leaves it.
void RecordReset(EngineState& s, uint32_t seenBit) {
  s.resetsSeen = s.resetsSeen | seenBit;
  for (int c = 0; c < kChannelCount; ++c) {
    s.chanFlags[c] = c == midi::kRhythmChannel ? kChanRhythmNames : 0;
    s.program[c] = 0;
    s.expression[c] = 127;
    s.bendNow[c] = 0;
    s.fineTune[c] = midi::kCentre14;
    s.pan[c] = midi::kPanCentre;
    s.reverb[c] = 40;
    s.chorus[c] = 0;
    s.volume[c] = 100;
  }
}

}  // namespace

const DeviceReset kDeviceResets[4] = {
    {midi::kGmSystemOn, sizeof midi::kGmSystemOn, kResetGmSystemOn, "GM System On"},
    {midi::kGsReset, sizeof midi::kGsReset, kResetGs, "GS Reset"},
    {midi::kXgSystemOn, sizeof midi::kXgSystemOn, kResetXgSystemOn, "XG System On"},
    {midi::kSc88ModeSet, sizeof midi::kSc88ModeSet, kResetSc88Mode, "SC-88 system mode set"},
};

void RecordShort(MessageWord message) {
  const uint8_t status = WordStatus(message);
  const int channel = midi::ChannelOf(status);
  if (midi::KindOf(status) == midi::kProgramChange) GetState().program[channel] = WordData1(message);
  if (midi::KindOf(status) == midi::kControlChange)
    RecordController(GetState(), channel, WordData1(message), WordData2(message));
}

void RecordLong(const uint8_t* bytes, size_t length) {
  for (const DeviceReset& reset : kDeviceResets)
    if (midi::BeginsWith(bytes, length, {reset.bytes, reset.length})) RecordReset(GetState(), reset.seenBit);
}

}  // namespace tsy
