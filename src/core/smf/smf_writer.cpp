#include "core/smf/smf_writer.h"

#include <algorithm>
#include <array>

#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr size_t kBlockSize = size_t{64} * 1024;  // bytes handed to the sink at a time
constexpr uint8_t kEndOfTrack[] = {0, midi::kMetaEvent, midi::kMetaEndOfTrack, 0};  // with its delta 0
// An empty text event: it means nothing, and carries the time of a gap
// longer than one delta time holds.
constexpr uint8_t kNoOpMeta[] = {midi::kMetaEvent, 0x01, 0};

std::array<uint8_t, 4> Big32(uint32_t value) {
  return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value)};
}

}  // namespace

bool MemorySink::Append(std::span<const uint8_t> more) {
  bytes.insert(bytes.end(), more.begin(), more.end());
  return true;
}

bool MemorySink::Overwrite(size_t offset, std::span<const uint8_t> replacement) {
  if (offset + replacement.size() > bytes.size()) return false;
  std::copy(replacement.begin(), replacement.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  return true;
}

std::array<uint8_t, kSmfFileHeaderBytes> SmfFileHeader(uint16_t format, uint16_t tracks) {
  return {'M',
          'T',
          'h',
          'd',
          0,
          0,
          0,
          6,  // header length
          0,
          static_cast<uint8_t>(format),
          static_cast<uint8_t>(tracks >> 8),
          static_cast<uint8_t>(tracks),
          0,
          kSmfTicksPerQuarter};  // ticks per quarter note
}

SmfWriter::SmfWriter(int64_t origin, SmfSink& sink) : SmfWriter(origin, sink, SmfFileHeader(0, 1)) {}

SmfWriter SmfWriter::TrackChunk(int64_t origin, SmfSink& sink) { return SmfWriter(origin, sink, {}); }

SmfWriter::SmfWriter(int64_t origin, SmfSink& sink, std::span<const uint8_t> fileHeader)
    : sink_(sink), lengthAt_(fileHeader.size() + 4), lastTick_(origin) {
  held_.reserve(kBlockSize + 256);
  constexpr uint8_t kChunkHead[] = {'M', 'T', 'r', 'k', 0, 0, 0, 0};  // track length, written by Finish
  held_.assign(fileHeader.begin(), fileHeader.end());
  held_.insert(held_.end(), std::begin(kChunkHead), std::end(kChunkHead));
}

void SmfWriter::Put(std::span<const uint8_t> bytes) {
  if (!ok()) return;
  held_.insert(held_.end(), bytes.begin(), bytes.end());
  trackBytes_ += bytes.size();
  if (held_.size() >= kBlockSize) Flush();
}

void SmfWriter::Flush() {
  if (!failed_ && !held_.empty() && !sink_.Append(held_)) failed_ = true;
  held_.clear();
}

void SmfWriter::Delta(int64_t tick) {
  int64_t gap = std::max<int64_t>(tick - lastTick_, 0);
  lastTick_ = std::max(tick, lastTick_);
  for (; gap > kLongestDelta; gap -= kLongestDelta) {
    Quantity(kLongestDelta);
    Put(kNoOpMeta);
  }
  Quantity(static_cast<uint32_t>(gap));
}

void SmfWriter::Quantity(uint32_t value) {
  uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  uint8_t bytes[5];
  for (int i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(groups[n - 1 - i] | (i < n - 1 ? 0x80 : 0));
  Put({bytes, static_cast<size_t>(n)});
}

void SmfWriter::ShortMessage(int /*track*/, int64_t tick, MessageWord message) {
  Delta(tick);
  const uint8_t status = WordStatus(message);
  const uint8_t bytes[] = {status, WordData1(message), WordData2(message)};
  Put({bytes, midi::DataBytes(status) == 2 ? 3u : 2u});
}

void SmfWriter::SysEx(int /*track*/, int64_t tick, const uint8_t* bytes, size_t length) {
  if (length == 0) return;
  Delta(tick);
  const bool whole = bytes[0] == midi::kSysExStart;
  const uint8_t kind = whole ? midi::kSysExStart : midi::kSysExEnd;
  Put({&kind, 1});
  const size_t skip = whole ? 1 : 0;
  Quantity(static_cast<uint32_t>(length - skip));
  Put({bytes + skip, length - skip});
}

void SmfWriter::Meta(int /*track*/, int64_t tick, const uint8_t* bytes, size_t length) {
  if (length == 0) return;
  Delta(tick);
  Put({bytes, length});
}

bool SmfWriter::Finish() {
  held_.insert(held_.end(), std::begin(kEndOfTrack), std::end(kEndOfTrack));
  trackBytes_ += sizeof kEndOfTrack;
  Flush();
  if (!failed_ && !sink_.Overwrite(lengthAt_, Big32(static_cast<uint32_t>(trackBytes_)))) failed_ = true;
  return !failed_;
}

}  // namespace tsy
