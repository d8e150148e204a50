#pragma once
// Where the play thread's messages go: the message delivery of the open
// output. The MIDI output layer implements it; the engine knows no device.

#include <cstddef>
#include <cstdint>

#include "core/engine/engine_call.h"

namespace tsy {

// What the play clock does, for outputs that send MIDI clock (ClockEvent).
enum class ClockEvent {
  kStart,     // play starts at the tick given: 0 from the top, or a position
  kStop,      // play halted
  kContinue,  // play goes on where it halted
  kTick,      // the tick counter has just reached the tick given
};

class PlayOutput {
 public:
  virtual ~PlayOutput() = default;
  // One MIDI short message (MessageWord packing).
  virtual void SendShort(MessageWord message) = 0;
  // One system-exclusive message, F0 to F7 inclusive.
  virtual void SendLong(const uint8_t* bytes, size_t length) = 0;
  // Silences the device and lets it go. Called once the play thread ends,
  // and again by CloseOutput in case it did not; a second call does nothing.
  virtual void Release() = 0;
  // The play thread's clock, on its own timeline: each event is told at the
  // moment it happens, before the messages of that tick. Outputs that send
  // no MIDI clock ignore it.
  virtual void OnClock(ClockEvent /*event*/, uint32_t /*tick*/) {}
};

}  // namespace tsy
