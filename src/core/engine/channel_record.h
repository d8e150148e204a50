#pragma once
// The engine's record of channel settings as the device last received them:
// every message on its way out, to a device or into a MIDI file, passes
// through here first, so that the displays, the state snapshots and the
// music's relative steps (expression up or down from what was sent) see the
// same values whether the music plays or is exported.

#include <cstddef>
#include <cstdint>

#include "core/engine/engine_call.h"

namespace tsy {

// The device resets recognised at the start of a system-exclusive message.
struct DeviceReset {
  const uint8_t* bytes;
  size_t length;
  uint32_t seenBit;  // its bit in EngineState::resetsSeen
  const char* name;
};
extern const DeviceReset kDeviceResets[4];

// Keeps the record as a short message (MessageWord packing) leaves the device:
// program changes and the controllers the record holds.
void RecordShort(MessageWord message);
// Keeps the record as a system-exclusive message (F0 .. F7) leaves it: after
// a device reset every channel holds the reset's values.
void RecordLong(const uint8_t* bytes, size_t length);

}  // namespace tsy
