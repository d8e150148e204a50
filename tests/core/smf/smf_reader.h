#pragma once
// A small reader of the files the export writes, for assertions: every
// event with its absolute tick and its bytes (status included).

#include <cstdint>
#include <string>
#include <vector>

namespace tsy::test {

struct SmfEvent {
  uint32_t tick;
  std::vector<uint8_t> bytes;  // status and data; a SysEx without its length
};

inline uint32_t ReadQuantity(const std::vector<uint8_t>& f, size_t& at) {
  uint32_t value = 0;
  while (at < f.size()) {
    const uint8_t b = f[at++];
    value = value << 7 | (b & 0x7F);
    if (!(b & 0x80)) break;
  }
  return value;
}

// Events of the one track of `file`; empty when the header is not ours.
inline std::vector<SmfEvent> ReadSmfEvents(const std::vector<uint8_t>& f) {
  std::vector<SmfEvent> events;
  if (f.size() < 22 || std::string(f.begin(), f.begin() + 4) != "MThd") return events;
  size_t at = 22;
  uint32_t tick = 0;
  while (at < f.size()) {
    tick += ReadQuantity(f, at);
    const uint8_t status = f[at];
    SmfEvent e{tick, {status}};
    ++at;
    if (status == 0xF0 || status == 0xF7) {
      const uint32_t n = ReadQuantity(f, at);
      e.bytes.insert(e.bytes.end(), f.begin() + at, f.begin() + at + n);
      at += n;
    } else if (status == 0xFF) {
      e.bytes.push_back(f[at]);
      const uint32_t n = f[at + 1];
      e.bytes.insert(e.bytes.end(), f.begin() + at + 1, f.begin() + at + 2 + n);
      at += 2 + n;
    } else {
      const size_t n = (status & 0xE0) == 0xC0 ? 1 : 2;
      e.bytes.insert(e.bytes.end(), f.begin() + at, f.begin() + at + n);
      at += n;
    }
    events.push_back(e);
  }
  return events;
}

}  // namespace tsy::test

namespace tsy::test {

// A file's track chunks, each as its bytes from "MTrk" on; the header's
// format and track count.
struct SmfChunks {
  int format = -1;
  int declaredTracks = 0;
  std::vector<std::vector<uint8_t>> tracks;
};

inline SmfChunks SplitSmf(const std::vector<uint8_t>& f) {
  SmfChunks chunks;
  if (f.size() < 14 || std::string(f.begin(), f.begin() + 4) != "MThd") return chunks;
  chunks.format = f[8] << 8 | f[9];
  chunks.declaredTracks = f[10] << 8 | f[11];
  for (size_t at = 14; at + 8 <= f.size();) {
    const size_t length = size_t{f[at + 4]} << 24 | f[at + 5] << 16 | f[at + 6] << 8 | f[at + 7];
    if (at + 8 + length > f.size()) break;
    chunks.tracks.emplace_back(f.begin() + static_cast<std::ptrdiff_t>(at),
                               f.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
    at += 8 + length;
  }
  return chunks;
}

// The events of one chunk of SplitSmf, as ReadSmfEvents reads a format-0 file.
inline std::vector<SmfEvent> ReadChunkEvents(const std::vector<uint8_t>& chunk) {
  std::vector<uint8_t> asFile(14, 0);
  asFile[0] = 'M', asFile[1] = 'T', asFile[2] = 'h', asFile[3] = 'd';
  asFile.insert(asFile.end(), chunk.begin(), chunk.end());
  return ReadSmfEvents(asFile);
}

}  // namespace tsy::test
