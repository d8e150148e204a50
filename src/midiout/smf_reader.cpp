#include "midiout/smf_reader.h"

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
  if (format != 0 || tracks != 1) return Fail(fault, "only format-0 files are read");
  if (division == 0 || (division & 0x8000)) return Fail(fault, "time code divisions are not read");

  uint32_t trackLength;
  if (!in.Has(8) || std::memcmp(in.here(), "MTrk", 4) != 0) return Fail(fault, "no track chunk");
  in.Skip(4);
  if (!in.Big(4, trackLength) || !in.Has(trackLength)) return Fail(fault, "truncated track");
  ByteReader track(in.here(), trackLength);

  double seconds = 0;
  uint32_t tempo = kDefaultTempo;
  uint8_t running = 0;
  while (track.Has(1)) {
    uint32_t delta;
    uint8_t status;
    if (!track.Vlq(delta) || !track.Byte(status)) return Fail(fault, "truncated event");
    seconds += static_cast<double>(delta) * tempo / division / 1e6;
    if (status == midi::kMetaEvent) {  // meta: type, length, data
      uint8_t type;
      uint32_t length;
      if (!track.Byte(type) || !track.Vlq(length) || !track.Has(length)) return Fail(fault, "truncated meta event");
      if (type == midi::kMetaTempo && length == 3) {
        const uint8_t* t = track.here();
        tempo = (t[0] << 16) | (t[1] << 8) | t[2];
      }
      track.Skip(length);
      if (type == midi::kMetaEndOfTrack) break;
      continue;
    }
    if (status == midi::kSysExStart || status == midi::kSysExEnd) {  // system exclusive: length, data (F0 not repeated)
      uint32_t length;
      if (!track.Vlq(length) || !track.Has(length)) return Fail(fault, "truncated system exclusive");
      TimedMessage m{seconds, {}};
      if (status == midi::kSysExStart) m.bytes.push_back(midi::kSysExStart);
      m.bytes.insert(m.bytes.end(), track.here(), track.here() + length);
      track.Skip(length);
      messages.push_back(std::move(m));
      continue;
    }
    if (status >= midi::kSysExStart) return Fail(fault, "unknown event");
    TimedMessage m{seconds, {}};
    if (!(status & midi::kStatusBit)) {  // running status: this byte is the first data byte
      if (!running) return Fail(fault, "data byte without a status");
      m.bytes = {running, status};
    } else {
      running = status;
      m.bytes = {status};
      uint8_t first;
      if (!track.Byte(first)) return Fail(fault, "truncated channel message");
      m.bytes.push_back(first);
    }
    if (midi::DataBytes(running) == 2) {
      uint8_t second;
      if (!track.Byte(second)) return Fail(fault, "truncated channel message");
      m.bytes.push_back(second);
    }
    messages.push_back(std::move(m));
  }
  return true;
}

}  // namespace tsy
