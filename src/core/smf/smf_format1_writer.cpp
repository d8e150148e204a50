#include "core/smf/smf_format1_writer.h"

#include <algorithm>
#include <string>

#include "core/midi/midi_bytes.h"
#include "core/smf/track_names.h"

namespace tsy {
namespace {

constexpr uint8_t kMetaTrackName = 0x03;
constexpr size_t kLongestName = 127;  // a one-byte length; comments are far shorter
constexpr size_t kCopyBlock = size_t{64} * 1024;

}  // namespace

SpoolSink::SpoolSink() : file_(std::tmpfile()) {}

SpoolSink::~SpoolSink() {
  if (file_) std::fclose(file_);
}

bool SpoolSink::Append(std::span<const uint8_t> bytes) {
  return file_ && std::fseek(file_, 0, SEEK_END) == 0 &&
         std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

bool SpoolSink::Overwrite(size_t offset, std::span<const uint8_t> bytes) {
  return file_ && std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0 &&
         std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

bool SpoolSink::CopyTo(SmfSink& to) {
  if (!file_ || std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0) return false;
  std::vector<uint8_t> block(kCopyBlock);
  for (size_t n; (n = std::fread(block.data(), 1, block.size(), file_)) > 0;)
    if (!to.Append({block.data(), n})) return false;
  return !std::ferror(file_);
}

SmfFormat1Writer::SmfFormat1Writer(int64_t origin, const uint8_t* image, SmfSink& sink) : sink_(sink) {
  Opened(origin);  // the tempo map
  for (int t = 0; t < kTrackCount; ++t) {
    chunkOf_[t] = 0;
    if (ImageTrackOffset(image, t + 1) == 0) continue;
    chunkOf_[t] = static_cast<int>(tracks_.size());
    std::string name = SmfTrackName(image, t + 1);
    name.resize(std::min(name.size(), kLongestName));
    std::vector<uint8_t> meta = {midi::kMetaEvent, kMetaTrackName, static_cast<uint8_t>(name.size())};
    meta.insert(meta.end(), name.begin(), name.end());
    Opened(origin).writer->Meta(t, origin, meta.data(), meta.size());
  }
}

SmfFormat1Writer::Track& SmfFormat1Writer::Opened(int64_t origin) {
  Track track;
  track.spool = std::make_unique<SpoolSink>();
  track.writer = std::make_unique<SmfWriter>(SmfWriter::TrackChunk(origin, *track.spool));
  tracks_.push_back(std::move(track));
  return tracks_.back();
}

SmfWriter& SmfFormat1Writer::Of(int track) {
  return *tracks_[track >= 0 && track < kTrackCount ? chunkOf_[track] : 0].writer;
}

void SmfFormat1Writer::ShortMessage(int track, int64_t tick, MessageWord message) {
  Of(track).ShortMessage(track, tick, message);
}

void SmfFormat1Writer::SysEx(int track, int64_t tick, const uint8_t* bytes, size_t length) {
  Of(track).SysEx(track, tick, bytes, length);
}

void SmfFormat1Writer::Meta(int track, int64_t tick, const uint8_t* bytes, size_t length) {
  const bool tempo = length >= 2 && bytes[1] == midi::kMetaTempo;
  (tempo ? *tracks_[0].writer : Of(track)).Meta(track, tick, bytes, length);
}

bool SmfFormat1Writer::ok() const {
  return std::all_of(tracks_.begin(), tracks_.end(), [](const Track& t) { return t.writer->ok(); });
}

bool SmfFormat1Writer::full() const {
  return std::any_of(tracks_.begin(), tracks_.end(), [](const Track& t) { return t.writer->full(); });
}

bool SmfFormat1Writer::Finish() {
  bool written = sink_.Append(SmfFileHeader(1, static_cast<uint16_t>(tracks_.size())));
  for (Track& track : tracks_) written = track.writer->Finish() && written && track.spool->CopyTo(sink_);
  return written;
}

}  // namespace tsy
