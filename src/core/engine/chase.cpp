#include "core/engine/chase.h"

#include <algorithm>

#include "core/engine/channel_record.h"
#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr uint8_t kDataIncrement = 96;  // steps the selected parameter: replaying it would step it twice
constexpr uint8_t kDataDecrement = 97;
constexpr uint8_t kFirstModeMessage = 120;  // 120..127 are channel mode messages, not settings

// Controllers that are not replayed as they stand: the bank (sent with the
// program), the parameter selection and data (sent per parameter), and the
// channel mode messages.
bool ReplayedAsSetting(uint8_t controller) {
  switch (controller) {
    case midi::kBankSelect:
    case midi::kBankSelectLsb:
    case midi::kDataEntry:
    case midi::kDataEntryLsb:
    case kDataIncrement:
    case kDataDecrement:
    case midi::kNrpnLsb:
    case midi::kNrpnMsb:
    case midi::kRpnLsb:
    case midi::kRpnMsb: return false;
    default: return controller < kFirstModeMessage;
  }
}

// What Reset All Controllers sets back on a device: modulation, expression,
// the pedals, the bend and the parameter selection.
constexpr uint8_t kResetControllers[] = {1, midi::kExpression, 64, 65, 66, 67, 68, 69};

bool IsDeviceReset(const uint8_t* bytes, size_t length) {
  return std::any_of(std::begin(kDeviceResets), std::end(kDeviceResets), [&](const DeviceReset& reset) {
    return midi::BeginsWith(bytes, length, {reset.bytes, reset.length});
  });
}

}  // namespace

void ChasedState::Clear() {
  for (Channel& c : channels_) {
    c = Channel{};
    c.controller.fill(kNone);
  }
  sysExCount_ = 0;
  tempoLength_ = 0;
  wordCount_ = 0;
  slotCount_ = 0;
}

void ChasedState::Absorb(MessageWord word, const MessageSlots& slots) {
  if (IsShortMessage(word)) {
    AbsorbShort(word);
    return;
  }
  const uint8_t* bytes = slots[WordSlot(word)].data();
  const uint8_t length = std::min<uint8_t>(WordLength(word), kSlotSize);
  if (!IsMetaWord(word)) {
    AbsorbLong(bytes, length);
  } else if (length == midi::kTempoMetaSize && bytes[1] == midi::kMetaTempo) {
    std::copy(bytes, bytes + length, tempo_.begin());
    tempoLength_ = length;
  }
}

void ChasedState::AbsorbShort(MessageWord word) {
  const uint8_t status = WordStatus(word);
  Channel& c = channels_[midi::ChannelOf(status)];
  switch (midi::KindOf(status)) {
    case midi::kProgramChange: c.program = WordData1(word); break;
    case midi::kPitchBend: c.bend = WordData2(word) << 7 | WordData1(word); break;
    case midi::kControlChange: AbsorbController(c, WordData1(word), WordData2(word)); break;
    default: break;  // notes and pressure are no settings
  }
}

void ChasedState::AbsorbController(Channel& c, uint8_t controller, uint8_t value) {
  switch (controller) {
    case midi::kRpnMsb:
    case midi::kNrpnMsb:
      c.selectionRegistered = controller == midi::kRpnMsb;
      c.selectMsb = value;
      return;
    case midi::kRpnLsb:
    case midi::kNrpnLsb:
      c.selectionRegistered = controller == midi::kRpnLsb;
      c.selectLsb = value;
      return;
    case midi::kDataEntry: AbsorbData(c, true, value); return;
    case midi::kDataEntryLsb: AbsorbData(c, false, value); return;
    case midi::kResetAllControllers:
      for (uint8_t k : kResetControllers) c.controller[k] = kNone;
      c.bend = kNone;
      c.selectMsb = c.selectLsb = kNone;
      return;
    default: c.controller[controller] = value; return;
  }
}

// Data entry goes to the parameter selected last; with none selected (or
// the "none" pair 127, 127) it goes nowhere.
void ChasedState::AbsorbData(Channel& c, bool msb, uint8_t value) {
  if (c.selectMsb == kNone || c.selectLsb == kNone) return;
  const uint16_t number = static_cast<uint16_t>(c.selectMsb << 8 | c.selectLsb);
  if (number == midi::kNoParameter) return;
  auto* end = c.parameters.begin() + c.parameterCount;
  auto* found = std::find_if(c.parameters.begin(), end, [&](const Parameter& p) {
    return p.registered == c.selectionRegistered && p.number == number;
  });
  if (found == end) {
    if (c.parameterCount == kChaseParameterSlots) return;
    *found = Parameter{c.selectionRegistered, number};
    ++c.parameterCount;
  }
  (msb ? found->dataMsb : found->dataLsb) = value;
}

// A device reset sets every channel back, so what came before it is moot.
void ChasedState::AbsorbLong(const uint8_t* bytes, uint8_t length) {
  if (length == 0) return;
  if (IsDeviceReset(bytes, length)) {
    const uint8_t tempoLength = tempoLength_;
    const auto tempo = tempo_;
    Clear();
    tempo_ = tempo;
    tempoLength_ = tempoLength;
  }
  if (sysExCount_ == kChaseSysExCapacity) return;
  std::copy(bytes, bytes + length, sysEx_[sysExCount_].begin());
  sysExLength_[sysExCount_++] = length;
}

void ChasedState::Compose() {
  wordCount_ = 0;
  slotCount_ = 0;
  for (int i = 0; i < sysExCount_; ++i) PutSlot(sysEx_[i].data(), sysExLength_[i], false);
  if (tempoLength_) PutSlot(tempo_.data(), tempoLength_, true);
  for (int ch = 0; ch < kChannelCount; ++ch) ComposeChannel(ch, channels_[ch]);
}

// Bank before program, which it chooses from; each parameter with its own
// selection; then the selection that data entry acts on from here.
void ChasedState::ComposeChannel(int ch, const Channel& c) {
  auto control = [&](uint8_t controller, int16_t value) {
    if (value != kNone) Put(ControlChangeWord(ch, controller, static_cast<uint8_t>(value)));
  };
  control(midi::kBankSelect, c.controller[midi::kBankSelect]);
  control(midi::kBankSelectLsb, c.controller[midi::kBankSelectLsb]);
  if (c.program != kNone) Put(ChannelWord(midi::kProgramChange, ch, static_cast<uint8_t>(c.program), 0));
  for (int k = 0; k < kControllerCount; ++k)
    if (ReplayedAsSetting(static_cast<uint8_t>(k))) control(static_cast<uint8_t>(k), c.controller[k]);
  for (int i = 0; i < c.parameterCount; ++i) {
    const Parameter& p = c.parameters[i];
    control(p.registered ? midi::kRpnMsb : midi::kNrpnMsb, static_cast<int16_t>(p.number >> 8));
    control(p.registered ? midi::kRpnLsb : midi::kNrpnLsb, static_cast<int16_t>(p.number & 0xFF));
    control(midi::kDataEntry, p.dataMsb);
    control(midi::kDataEntryLsb, p.dataLsb);
  }
  control(c.selectionRegistered ? midi::kRpnMsb : midi::kNrpnMsb, c.selectMsb);
  control(c.selectionRegistered ? midi::kRpnLsb : midi::kNrpnLsb, c.selectLsb);
  if (c.bend != kNone) Put(ChannelWord(midi::kPitchBend, ch, midi::Lsb7(c.bend), midi::Msb7(c.bend)));
}

void ChasedState::Put(MessageWord word) {
  if (wordCount_ < kChaseWordCapacity) words_[wordCount_++] = word;
}

void ChasedState::PutSlot(const uint8_t* bytes, uint8_t length, bool meta) {
  if (slotCount_ >= kSlotCount) return;
  std::copy(bytes, bytes + length, slots_[slotCount_].begin());
  const auto slot = static_cast<uint8_t>(slotCount_++);
  Put(meta ? MetaWord(slot, length) : SysExWord(slot, length));
}

}  // namespace tsy
