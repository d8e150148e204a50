#pragma once
// A format-0 Standard MIDI File built in memory: one track, 48 ticks per
// quarter note (the engine's own ticks), big-endian numbers, and every event
// with its own status byte (no running status).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/engine/engine_call.h"

namespace tsy {

constexpr uint16_t kSmfTicksPerQuarter = 48;

class SmfWriter {
 public:
  // `origin` is the tick that becomes file time 0; events come in tick order.
  explicit SmfWriter(int64_t origin);

  // A short message: 2 bytes for program change and channel pressure, else 3.
  void ShortMessage(int64_t tick, MessageWord message);
  // A system-exclusive message F0 .. F7 as "F0 length rest". Bytes that do
  // not start with F0 are stored whole as an escape ("F7 length bytes"), so
  // that they cannot break the file.
  void SysEx(int64_t tick, const uint8_t* bytes, size_t length);
  // A meta event written as it is (FF type length data).
  void Meta(int64_t tick, const uint8_t* bytes, size_t length);

  // The whole file: header, track chunk with its length, end of track.
  std::vector<uint8_t> Finish();

 private:
  void Delta(int64_t tick);
  void Quantity(uint32_t value);  // variable-length quantity, 7 bits a byte

  std::vector<uint8_t> track_;
  int64_t lastTick_;
};

}  // namespace tsy
