#include "midiout/engine_snapshots.h"

#include "core/engine/engine_call.h"
#include "midiout/message_delivery.h"

namespace tsy {
namespace {

EngineState slots[kSnapshotSlots];

bool ValidSlot(int slot) { return slot >= 0 && slot < kSnapshotSlots; }

void Controller(int channel, uint8_t controller, uint8_t value) {
  SendShort(ShortMessage(static_cast<uint8_t>(0xB0 | channel), controller, value));
}

// A setting nothing was sent for yet (a piece that initialises the device
// itself) is not sent: its marker 255 is no MIDI data byte.
void KnownController(int channel, uint8_t controller, uint8_t value) {
  if (value != kUnsetSetting) Controller(channel, controller, value);
}

// The settings a new output needs to sound like the old one. The pitch
// bend is not resent.
void ResendChannel(const EngineState& s, int c) {
  KnownController(c, 7, s.volume[c]);
  Controller(c, 101, 0);  // registered parameter 0: bend range, 24 semitones
  Controller(c, 100, 0);
  Controller(c, 6, 24);
  KnownController(c, 10, s.pan[c]);
  if (s.fineTune[c] != kUnsetFineTune) {
    Controller(c, 101, 0);  // registered parameter 1: fine tuning, 14 bits
    Controller(c, 100, 1);
    Controller(c, 6, (s.fineTune[c] >> 7) & 127);
    Controller(c, 38, s.fineTune[c] & 127);
  }
  KnownController(c, 11, s.expression[c]);
  KnownController(c, 91, s.reverb[c]);
  KnownController(c, 93, s.chorus[c]);
  KnownController(c, 0, s.bankMsb[c]);
  KnownController(c, 32, s.bankLsb[c]);
  if (s.program[c] != kUnsetSetting) SendShort(ShortMessage(static_cast<uint8_t>(0xC0 | c), s.program[c], 0));
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
