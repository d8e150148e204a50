#pragma once
// Where one TrackPass writes: the caller's message array and slots. The
// output never writes beyond kMessageCapacity words or kSlotCount slots;
// whatever does not fit is dropped (music from the compiler never gets there).

#include <cstdint>
#include <span>

#include "core/engine/engine_call.h"

namespace tsy {

class PassOutput {
 public:
  PassOutput(MessageWord* messages, MessageSlots* slots) : messages_(messages), slots_(slots) {}

  // A channel message of `kind` (midi::kNoteOn, ...); data bytes keep their
  // 7 bits, as MIDI requires.
  void ChannelMessage(uint8_t kind, uint8_t channel, uint8_t data1, uint8_t data2) {
    Put(ChannelWord(kind, channel, data1 & midi::kDataBits, data2 & midi::kDataBits));
  }
  void ControlChange(uint8_t channel, uint8_t controller, uint8_t value) {
    ChannelMessage(midi::kControlChange, channel, controller, value);
  }
  void ControlChanges(uint8_t channel, std::span<const midi::ControllerValue> changes) {
    for (const midi::ControllerValue& change : changes) ControlChange(channel, change.controller, change.value);
  }

  // The next slot, cleared, for a message of `length` bytes; null when the
  // caller gave no slots, all are used, the words are full or it is too long.
  uint8_t* OpenSlot(size_t length) {
    if (!slots_ || slot_ >= kSlotCount || count_ >= kMessageCapacity || length > kSlotSize) return nullptr;
    MessageSlot& slot = (*slots_)[slot_];
    slot.fill(0);
    return slot.data();
  }
  // Writes the word for the slot just opened and filled.
  void CloseSysEx(uint8_t length) { Put(SysExWord(static_cast<uint8_t>(slot_++), length)); }
  void CloseMeta(uint8_t length) { Put(MetaWord(static_cast<uint8_t>(slot_++), length)); }

  int count() const { return count_; }

 private:
  void Put(MessageWord word) {
    if (count_ < kMessageCapacity) messages_[count_++] = word;
  }

  MessageWord* messages_;
  MessageSlots* slots_;
  int count_ = 0;
  int slot_ = 0;
};

}  // namespace tsy
