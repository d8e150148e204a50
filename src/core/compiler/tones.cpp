#include "core/compiler/tones.h"

#include "core/image/event_table.h"
#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr int32_t kMaxToneIndex = 255;
constexpr int32_t kMaxDataValue = 127;

// Up to two values after a comma: bank MSB and LSB. False after a fault.
bool ReadBank(ParseContext& cx, Value& msb, Value& lsb) {
  if (!cx.Accept(',')) return true;
  msb = cx.ReadUnsigned();
  if (cx.Accept(',')) lsb = cx.ReadUnsigned();
  if (msb.value > kMaxDataValue || lsb.value > kMaxDataValue) {
    cx.Fault(TextId::kToneOutOfRange);
    return false;
  }
  return true;
}

void WriteBank(ParseContext& cx, int msb, int lsb) {
  cx.out.Event<EventCode::kControlChange>({midi::kBankSelect, static_cast<uint8_t>(msb)});
  cx.out.Event<EventCode::kControlChange>({midi::kBankSelectLsb, static_cast<uint8_t>(lsb)});
}

void DefineTone(ParseContext& cx, int32_t index) {
  Value program = cx.ReadUnsigned();
  Value msb;
  Value lsb;
  if (program.value > kMaxDataValue) {
    cx.Fault(TextId::kToneOutOfRange);
    return;
  }
  if (!ReadBank(cx, msb, lsb)) return;
  bool banked = msb.written || lsb.written;
  cx.unit.toneMap[index] = {static_cast<uint8_t>(program.value), static_cast<int16_t>(banked ? msb.value : -1),
                            static_cast<int16_t>(banked ? lsb.value : -1)};
}

}  // namespace

void ParseTone(ParseContext& cx) {
  int32_t index = cx.ReadUnsigned().value;
  if (index > kMaxToneIndex) {
    cx.Fault(TextId::kToneOutOfRange);
    return;
  }
  if (cx.Accept('=')) {
    DefineTone(cx, index);
    return;
  }
  Value msb;
  Value lsb;
  if (!ReadBank(cx, msb, lsb)) return;
  bool banked = msb.written || lsb.written;
  if (banked && index > kMaxDataValue) {
    cx.Fault(TextId::kToneOutOfRange);
    return;
  }
  const ToneMapEntry& entry = cx.unit.toneMap[index];
  if (banked) WriteBank(cx, msb.value, lsb.value);
  else if (entry.bankMsb >= 0 || entry.bankLsb >= 0)
    WriteBank(cx, entry.bankMsb >= 0 ? entry.bankMsb : 0, entry.bankLsb >= 0 ? entry.bankLsb : 0);
  cx.out.Event<EventCode::kProgramChange>({entry.program});
}

}  // namespace tsy
