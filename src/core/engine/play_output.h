#pragma once
// Where the play thread's messages go: the message delivery of the open
// output. The MIDI output layer implements it; the engine knows no device.

#include <cstddef>
#include <cstdint>

#include "core/engine/engine_call.h"

namespace tsy {

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
};

}  // namespace tsy
