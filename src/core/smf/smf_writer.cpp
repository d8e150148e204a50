#include "core/smf/smf_writer.h"

#include <algorithm>

#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr uint8_t kEndOfTrack[] = {midi::kMetaEvent, midi::kMetaEndOfTrack, 0};

void PutBig(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

SmfWriter::SmfWriter(int64_t origin) : lastTick_(origin) {}

void SmfWriter::Delta(int64_t tick) {
  Quantity(static_cast<uint32_t>(std::max<int64_t>(tick - lastTick_, 0)));
  lastTick_ = std::max(tick, lastTick_);
}

void SmfWriter::Quantity(uint32_t value) {
  uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (n > 1) track_.push_back(groups[--n] | 0x80);
  track_.push_back(groups[0]);
}

void SmfWriter::ShortMessage(int64_t tick, MessageWord message) {
  Delta(tick);
  const uint8_t status = WordStatus(message);
  track_.push_back(status);
  track_.push_back(WordData1(message));
  if (midi::DataBytes(status) == 2) track_.push_back(WordData2(message));
}

void SmfWriter::SysEx(int64_t tick, const uint8_t* bytes, size_t length) {
  if (length == 0) return;
  Delta(tick);
  const bool whole = bytes[0] == midi::kSysExStart;
  track_.push_back(whole ? midi::kSysExStart : midi::kSysExEnd);
  const size_t skip = whole ? 1 : 0;
  Quantity(static_cast<uint32_t>(length - skip));
  track_.insert(track_.end(), bytes + skip, bytes + length);
}

void SmfWriter::Meta(int64_t tick, const uint8_t* bytes, size_t length) {
  if (length == 0) return;
  Delta(tick);
  track_.insert(track_.end(), bytes, bytes + length);
}

std::vector<uint8_t> SmfWriter::Finish() {
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
  PutBig(file, 6, 4);
  PutBig(file, 0, 2);  // format 0
  PutBig(file, 1, 2);  // one track
  PutBig(file, kSmfTicksPerQuarter, 2);
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  PutBig(file, static_cast<uint32_t>(track_.size() + 1 + sizeof kEndOfTrack), 4);
  file.insert(file.end(), track_.begin(), track_.end());
  file.push_back(0);  // delta of the end of track
  file.insert(file.end(), std::begin(kEndOfTrack), std::end(kEndOfTrack));
  return file;
}

}  // namespace tsy
