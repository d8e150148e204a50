#pragma once
// A format-0 Standard MIDI File written as it is rendered: one track, 48
// ticks per quarter note (the engine's own ticks), big-endian numbers, and
// every event with its own status byte (no running status). The bytes go to
// a sink in blocks, so a long piece never sits whole in memory.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/engine/engine_call.h"

namespace tsy {

constexpr uint16_t kSmfTicksPerQuarter = 48;
constexpr size_t kSmfTrackLengthAt = 18;  // the track chunk's length field, known only at the end
// The longest gap one delta time can hold: a variable-length quantity has
// at most 4 bytes of 7 bits. Longer gaps are split by no-op meta events.
constexpr uint32_t kLongestDelta = 0x0FFFFFFF;
// The most bytes a track chunk's 32-bit length field can state.
constexpr uint64_t kLongestTrackChunk = 0xFFFFFFFF;

// Where the file's bytes go, in order; false when they could not be written.
class SmfSink {
 public:
  virtual ~SmfSink() = default;
  virtual bool Append(std::span<const uint8_t> bytes) = 0;
  // Overwrites bytes appended earlier (the track length, once it is known).
  virtual bool Overwrite(size_t offset, std::span<const uint8_t> bytes) = 0;
};

// The file in memory.
class MemorySink : public SmfSink {
 public:
  bool Append(std::span<const uint8_t> bytes) override;
  bool Overwrite(size_t offset, std::span<const uint8_t> bytes) override;
  std::vector<uint8_t> bytes;
};

class SmfWriter {
 public:
  // Writes the header, with the track length still 0. `origin` is the tick
  // that becomes file time 0; events come in tick order.
  SmfWriter(int64_t origin, SmfSink& sink);

  // A short message: 2 bytes for program change and channel pressure, else 3.
  void ShortMessage(int64_t tick, MessageWord message);
  // A system-exclusive message F0 .. F7 as "F0 length rest". Bytes that do
  // not start with F0 are stored whole as an escape ("F7 length bytes"), so
  // that they cannot break the file.
  void SysEx(int64_t tick, const uint8_t* bytes, size_t length);
  // A meta event written as it is (FF type length data).
  void Meta(int64_t tick, const uint8_t* bytes, size_t length);

  // False once the sink failed or the track has grown beyond what its length
  // field can state; whatever comes after is dropped.
  bool ok() const { return !failed_ && !full(); }
  bool full() const { return trackBytes_ > kLongestTrackChunk - kEndOfTrackBytes; }
  // Writes the end of track and the track length, and passes on what is
  // still held. False when the sink failed.
  bool Finish();

 private:
  static constexpr uint64_t kEndOfTrackBytes = 4;  // delta 0, FF 2F 00

  void Delta(int64_t tick);
  void Quantity(uint32_t value);  // variable-length quantity, 7 bits a byte
  void Put(std::span<const uint8_t> bytes);
  void Flush();

  SmfSink& sink_;
  std::vector<uint8_t> held_;  // bytes not yet passed to the sink
  uint64_t trackBytes_ = 0;    // bytes of the track chunk's events so far
  int64_t lastTick_;
  bool failed_ = false;
};

}  // namespace tsy
