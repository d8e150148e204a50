#pragma once
// Where one TrackPass writes: the caller's message array and slots. The
// output never writes beyond kMessageCapacity words or kSlotCount slots;
// whatever does not fit is dropped (music from the compiler never gets there).

#include <cstdint>

#include "core/engine/engine_call.h"

namespace tsy {

class PassOutput {
 public:
  PassOutput(MessageWord* messages, MessageSlots* slots) : messages_(messages), slots_(slots) {}

  // A short message; data bytes keep their 7 bits, as MIDI requires.
  void Short(uint8_t status, uint8_t data1, uint8_t data2) { Put(ShortMessage(status, data1 & 0x7F, data2 & 0x7F)); }
  void ControlChange(uint8_t channel, uint8_t controller, uint8_t value) {
    Short(static_cast<uint8_t>(0xB0 | channel), controller, value);
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
