#pragma once
// Walks an exported Standard MIDI File event by event, as a reader would,
// from the header to the one end-of-track event that closes the track chunk.

#include <cstdint>
#include <cstring>
#include <vector>

namespace tsy::fuzz {

constexpr size_t kHeaderChunkSize = 14;  // "MThd", length 6, format, tracks, division
constexpr size_t kTrackChunkHead = 8;    // "MTrk", length

inline uint32_t BigEndian32(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// A variable-length quantity at `at`, at most four bytes; false when it runs
// past `end` or is longer.
inline bool ReadQuantity(const std::vector<uint8_t>& file, size_t& at, size_t end, uint32_t& value) {
  value = 0;
  for (int n = 0; n < 4 && at < end; ++n) {
    const uint8_t b = file[at++];
    value = value << 7 | (b & 0x7F);
    if (!(b & 0x80)) return true;
  }
  return false;
}

// Bytes after the status byte of a channel message.
inline size_t DataBytes(uint8_t status) { return (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2; }

// Walks every event of the track chunk; true when the file is whole.
// `ticks` receives the time of the end of track.
inline bool WalkFile(const std::vector<uint8_t>& file, uint64_t& ticks) {
  ticks = 0;
  if (file.size() < kHeaderChunkSize + kTrackChunkHead) return false;
  const uint8_t header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 48};
  if (std::memcmp(file.data(), header, sizeof header) != 0) return false;
  if (std::memcmp(&file[kHeaderChunkSize], "MTrk", 4) != 0) return false;
  const size_t end = kHeaderChunkSize + kTrackChunkHead + BigEndian32(&file[kHeaderChunkSize + 4]);
  if (end != file.size()) return false;
  size_t at = kHeaderChunkSize + kTrackChunkHead;
  while (at < end) {
    uint32_t delta = 0, length = 0;
    if (!ReadQuantity(file, at, end, delta) || at >= end) return false;
    ticks += delta;
    const uint8_t status = file[at++];
    if (status == 0xFF) {
      if (at >= end) return false;
      const uint8_t type = file[at++];
      if (!ReadQuantity(file, at, end, length) || length > end - at) return false;
      at += length;
      if (type == 0x2F) return length == 0 && at == end;  // end of track closes the chunk
    } else if (status == 0xF0 || status == 0xF7) {
      if (!ReadQuantity(file, at, end, length) || length > end - at) return false;
      at += length;
    } else if (status >= 0x80 && status < 0xF0) {
      const size_t n = DataBytes(status);
      if (n > end - at) return false;
      for (size_t i = 0; i < n; ++i)
        if (file[at + i] & 0x80) return false;
      at += n;
    } else {
      return false;  // every event has its own status byte
    }
  }
  return false;  // no end of track
}

}  // namespace tsy::fuzz
