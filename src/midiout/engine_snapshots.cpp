#include "midiout/engine_snapshots.h"

#include <span>

#include "core/engine/engine_call.h"
#include "core/midi/midi_bytes.h"
#include "midiout/message_delivery.h"

namespace tsy {
namespace {

EngineState slots[kSnapshotSlots];

bool ValidSlot(int slot) { return slot >= 0 && slot < kSnapshotSlots; }

void Controller(int channel, uint8_t controller, uint8_t value) {
  SendShort(ControlChangeWord(channel, controller, value));
}

void Controllers(int channel, std::span<const midi::ControllerValue> changes) {
  for (const midi::ControllerValue& change : changes) Controller(channel, change.controller, change.value);
}

// A setting nothing was sent for yet (a piece that initialises the device
// itself) is not sent: its marker 255 is no MIDI data byte.
void KnownController(int channel, uint8_t controller, uint8_t value) {
  if (value != kUnsetSetting) Controller(channel, controller, value);
}

// The settings a new output needs to sound like the old one. The pitch
// bend is not resent.
void ResendChannel(const EngineState& s, int c) {
  KnownController(c, midi::kVolume, s.volume[c]);
  Controllers(c, midi::kBendRangeSetting);
  KnownController(c, midi::kPan, s.pan[c]);
  if (s.fineTune[c] != kUnsetFineTune) Controllers(c, midi::FineTuneSetting(s.fineTune[c]));
  KnownController(c, midi::kExpression, s.expression[c]);
  KnownController(c, midi::kReverbSend, s.reverb[c]);
  KnownController(c, midi::kChorusSend, s.chorus[c]);
  KnownController(c, midi::kBankSelect, s.bankMsb[c]);
  KnownController(c, midi::kBankSelectLsb, s.bankLsb[c]);
  if (s.program[c] != kUnsetSetting) SendShort(ChannelWord(midi::kProgramChange, c, s.program[c], 0));
}

}  // namespace

int SaveSnapshot(int slot) {
  if (!ValidSlot(slot)) return 0;
  slots[slot] = GetState();
  return 1;
}

int RestoreSnapshot(int slot) {
  if (!ValidSlot(slot)) return 0;
  EngineState& state = GetState();
  const int32_t deviceKind = state.deviceKind;
  state = slots[slot];
  state.deviceKind = deviceKind;
  // The values to send are read from the slot: sending mirrors each message
  // into the record, which must not change the values still to come.
  for (int c = 0; c < kChannelCount; ++c) ResendChannel(slots[slot], c);
  return 1;
}

}  // namespace tsy
