#include "midiout/smf_reader.h"

#include <algorithm>
#include <cstring>

#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr uint32_t kDefaultTempo = 500000;  // µs per quarter note until a tempo event

// A cursor over the file's bytes that refuses to read past the end.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Has(size_t count) const { return size_ - pos_ >= count; }
  size_t pos() const { return pos_; }
  const uint8_t* here() const { return data_ + pos_; }
  void Skip(size_t count) { pos_ += count; }

  bool Byte(uint8_t& value) {
    if (!Has(1)) return false;
    value = data_[pos_++];
    return true;
  }
  bool Big(size_t bytes, uint32_t& value) {
    if (!Has(bytes)) return false;
    value = 0;
    for (size_t i = 0; i < bytes; ++i) value = (value << 8) | data_[pos_++];
    return true;
  }
  // variable-length quantity -> up to four bytes of 7 bits, high bit = more follow
  bool Vlq(uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t b;
      if (!Byte(b)) return false;
      value = (value << 7) | (b & 0x7F);
      if (!(b & 0x80)) return true;
    }
    return false;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

bool Fail(std::string& fault, const char* reason) {
  fault = reason;
  return false;
}

// One event of a track chunk at its tick: a message kept for the synthesiser,
// or a tempo (or other meta event) that only moves the clock.
struct TrackEvent {
  uint64_t tick;
  int track;
  uint32_t tempo;              // µs per quarter note from here on, 0 when this is no tempo event
  std::vector<uint8_t> bytes;  // empty for a meta event

  bool IsNote() const { return !bytes.empty() && (bytes[0] & 0xE0) == midi::kNoteOff; }
};

// Reads the events of one track chunk's body into `events`.
bool ReadTrack(ByteReader track, int index, std::vector<TrackEvent>& events, std::string& fault) {
  uint64_t tick = 0;
  uint8_t running = 0;
  while (track.Has(1)) {
    uint32_t delta;
    uint8_t status;
    if (!track.Vlq(delta) || !track.Byte(status)) return Fail(fault, "truncated event");
    tick += delta;
    TrackEvent e{tick, index, 0, {}};
    if (status == midi::kMetaEvent) {  // meta: type, length, data
      uint8_t type;
      uint32_t length;
      if (!track.Byte(type) || !track.Vlq(length) || !track.Has(length)) return Fail(fault, "truncated meta event");
      if (type == midi::kMetaTempo && length == 3) {
        const uint8_t* t = track.here();
        e.tempo = (t[0] << 16) | (t[1] << 8) | t[2];
      }
      track.Skip(length);
      events.push_back(std::move(e));
      if (type == midi::kMetaEndOfTrack) break;
      continue;
    }
    if (status == midi::kSysExStart || status == midi::kSysExEnd) {  // system exclusive: length, data (F0 not repeated)
      uint32_t length;
      if (!track.Vlq(length) || !track.Has(length)) return Fail(fault, "truncated system exclusive");
      if (status == midi::kSysExStart) e.bytes.push_back(midi::kSysExStart);
      e.bytes.insert(e.bytes.end(), track.here(), track.here() + length);
      track.Skip(length);
      events.push_back(std::move(e));
      continue;
    }
    if (status >= midi::kSysExStart) return Fail(fault, "unknown event");
    if (!(status & midi::kStatusBit)) {  // running status: this byte is the first data byte
      if (!running) return Fail(fault, "data byte without a status");
      e.bytes = {running, status};
    } else {
      running = status;
      e.bytes = {status};
      uint8_t first;
      if (!track.Byte(first)) return Fail(fault, "truncated channel message");
      e.bytes.push_back(first);
    }
    if (midi::DataBytes(running) == 2) {
      uint8_t second;
      if (!track.Byte(second)) return Fail(fault, "truncated channel message");
      e.bytes.push_back(second);
    }
    events.push_back(std::move(e));
  }
  return true;
}

}  // namespace

bool ReadSmf(const std::vector<uint8_t>& file, std::vector<TimedMessage>& messages, std::string& fault) {
  ByteReader in(file.data(), file.size());
  uint32_t headerLength, format, tracks, division;
  if (!in.Has(8) || std::memcmp(in.here(), "MThd", 4) != 0) return Fail(fault, "not a Standard MIDI File");
  in.Skip(4);
  if (!in.Big(4, headerLength) || headerLength < 6 || !in.Big(2, format) || !in.Big(2, tracks) ||
      !in.Big(2, division) || !in.Has(headerLength - 6))
    return Fail(fault, "truncated file header");
  in.Skip(headerLength - 6);
  if (!(format == 0 && tracks == 1) && format != 1) return Fail(fault, "only format-0 and format-1 files are read");
  if (division == 0 || (division & 0x8000)) return Fail(fault, "time code divisions are not read");

  std::vector<TrackEvent> events;
  for (uint32_t t = 0; t < tracks; ++t) {
    uint32_t trackLength;
    if (!in.Has(8) || std::memcmp(in.here(), "MTrk", 4) != 0) return Fail(fault, "no track chunk");
    in.Skip(4);
    if (!in.Big(4, trackLength) || !in.Has(trackLength)) return Fail(fault, "truncated track");
    if (!ReadTrack(ByteReader(in.here(), trackLength), static_cast<int>(t), events, fault)) return false;
    in.Skip(trackLength);
  }
  // The tracks of a format-1 file sound together: by tick, notes after the
  // other messages of their tick (as the export orders one track), then in
  // track order.
  if (format == 1)
    std::stable_sort(events.begin(), events.end(), [](const TrackEvent& a, const TrackEvent& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.IsNote() < b.IsNote();
    });

  double seconds = 0;
  uint32_t tempo = kDefaultTempo;
  uint64_t tick = 0;
  for (TrackEvent& e : events) {
    seconds += static_cast<double>(e.tick - tick) * tempo / division / 1e6;
    tick = e.tick;
    if (e.tempo) tempo = e.tempo;
    if (!e.bytes.empty()) messages.push_back({seconds, std::move(e.bytes), e.track});
  }
  return true;
}

}  // namespace tsy
