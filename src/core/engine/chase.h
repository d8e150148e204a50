#pragma once
// ChasedState: what a listener must have been sent to join the music at a
// tick other than 0. While the passes run silently up to that tick, every
// message they yield is absorbed here instead of being sent; Compose then
// turns what was absorbed into the few messages that set a device to the
// same state: the system-exclusive messages since the last device reset, the
// tempo in force, and for every channel its bank and program, every
// controller written, its registered and non-registered parameters and its
// pitch bend. Notes are never part of it.

#include <array>
#include <cstdint>
#include <span>

#include "core/engine/engine_call.h"

namespace tsy {

constexpr int kChaseSysExCapacity = 64;   // system-exclusive messages kept; later ones are dropped
constexpr int kChaseParameterSlots = 16;  // parameters kept per channel; later new ones are dropped
constexpr int kChaseWordCapacity = 4096;  // more than 16 channels' worth of every message above

class ChasedState {
 public:
  // Forgets everything absorbed.
  void Clear();
  // One message a silent pass yielded; its slot, if any, is in `slots`.
  void Absorb(MessageWord word, const MessageSlots& slots);
  // Builds the messages that set the absorbed state, in the order they must
  // be sent, into Messages() and Slots().
  void Compose();

  std::span<const MessageWord> Messages() const { return {words_.data(), static_cast<size_t>(wordCount_)}; }
  const MessageSlots& Slots() const { return slots_; }

 private:
  static constexpr int16_t kNone = -1;

  // A registered (or non-registered) parameter and the data written to it.
  struct Parameter {
    bool registered = true;
    uint16_t number = 0;  // msb << 8 | lsb
    int16_t dataMsb = kNone;
    int16_t dataLsb = kNone;
  };
  struct Channel {
    std::array<int16_t, kControllerCount> controller;  // last value written; kNone
    int16_t program = kNone;
    int32_t bend = kNone;  // 14-bit value last written
    bool selectionRegistered = true;
    int16_t selectMsb = kNone;  // the parameter selected last, as written
    int16_t selectLsb = kNone;
    std::array<Parameter, kChaseParameterSlots> parameters;
    int parameterCount = 0;
  };

  void AbsorbShort(MessageWord word);
  void AbsorbController(Channel& c, uint8_t controller, uint8_t value);
  void AbsorbData(Channel& c, bool msb, uint8_t value);
  void AbsorbLong(const uint8_t* bytes, uint8_t length);
  void ComposeChannel(int channel, const Channel& c);
  void Put(MessageWord word);
  void PutSlot(const uint8_t* bytes, uint8_t length, bool meta);

  std::array<Channel, kChannelCount> channels_;
  std::array<std::array<uint8_t, kSlotSize>, kChaseSysExCapacity> sysEx_;
  std::array<uint8_t, kChaseSysExCapacity> sysExLength_{};
  int sysExCount_ = 0;
  std::array<uint8_t, kSlotSize> tempo_{};  // the last tempo meta event
  uint8_t tempoLength_ = 0;

  std::array<MessageWord, kChaseWordCapacity> words_{};
  int wordCount_ = 0;
  MessageSlots slots_{};
  int slotCount_ = 0;
};

}  // namespace tsy
