#pragma once
// A Standard MIDI File written as it is rendered: 48 ticks per quarter note
// (the engine's own ticks), big-endian numbers, and every event with its own
// status byte (no running status). The bytes go to a sink in blocks, so a
// long piece never sits whole in memory. SmfWriter writes one track chunk;
// on its own it is the whole format-0 file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/engine/engine_call.h"

namespace tsy {

constexpr uint16_t kSmfTicksPerQuarter = 48;
constexpr size_t kSmfFileHeaderBytes = 14;  // "MThd", its length, format, track count, division
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

// The file header of a file with `tracks` track chunks of `format` (0 or 1).
std::array<uint8_t, kSmfFileHeaderBytes> SmfFileHeader(uint16_t format, uint16_t tracks);

// Where a render's messages go, each with the track (0..47) whose pass sent
// it, in tick order.
class SmfEvents {
 public:
  virtual ~SmfEvents() = default;
  // A short message: 2 bytes for program change and channel pressure, else 3.
  virtual void ShortMessage(int track, int64_t tick, MessageWord message) = 0;
  // A system-exclusive message F0 .. F7 as "F0 length rest". Bytes that do
  // not start with F0 are stored whole as an escape ("F7 length bytes"), so
  // that they cannot break the file.
  virtual void SysEx(int track, int64_t tick, const uint8_t* bytes, size_t length) = 0;
  // A meta event written as it is (FF type length data).
  virtual void Meta(int track, int64_t tick, const uint8_t* bytes, size_t length) = 0;
  // False once the sink failed or a track has grown beyond what its length
  // field can state; whatever comes after is dropped.
  virtual bool ok() const = 0;
  virtual bool full() const = 0;
  // Completes the file and passes on what is still held. False when the sink failed.
  virtual bool Finish() = 0;
};

// One track chunk. Every track's messages go into it alike: on its own it
// is the whole format-0 file.
class SmfWriter : public SmfEvents {
 public:
  // Writes the header of a format-0 file, with the track length still 0.
  // `origin` is the tick that becomes file time 0; events come in tick order.
  SmfWriter(int64_t origin, SmfSink& sink);
  // A track chunk alone, from the start of `sink`: one track of a larger file.
  static SmfWriter TrackChunk(int64_t origin, SmfSink& sink);

  void ShortMessage(int track, int64_t tick, MessageWord message) override;
  void SysEx(int track, int64_t tick, const uint8_t* bytes, size_t length) override;
  void Meta(int track, int64_t tick, const uint8_t* bytes, size_t length) override;
  bool ok() const override { return !failed_ && !full(); }
  bool full() const override { return trackBytes_ > kLongestTrackChunk - kEndOfTrackBytes; }
  // Writes the end of track and the track length.
  bool Finish() override;

 private:
  static constexpr uint64_t kEndOfTrackBytes = 4;  // delta 0, FF 2F 00

  SmfWriter(int64_t origin, SmfSink& sink, std::span<const uint8_t> fileHeader);

  void Delta(int64_t tick);
  void Quantity(uint32_t value);  // variable-length quantity, 7 bits a byte
  void Put(std::span<const uint8_t> bytes);
  void Flush();

  SmfSink& sink_;
  std::vector<uint8_t> held_;  // bytes not yet passed to the sink
  uint64_t trackBytes_ = 0;    // bytes of the track chunk's events so far
  size_t lengthAt_;            // where the chunk's length field lies in the sink
  int64_t lastTick_;
  bool failed_ = false;
};

}  // namespace tsy
