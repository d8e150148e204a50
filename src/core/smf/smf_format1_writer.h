#pragma once
// A format-1 Standard MIDI File written as it is rendered: a tempo map track
// (every tempo event), then one track per track of the image that has a
// stream, named after its first comment or "Track NN", holding that track's
// messages. The messages and their ticks are those of the format-0 file,
// distributed by track. Each track is kept in a temporary file of its own
// while the render runs, and the file is put together at the end.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/smf/smf_writer.h"

namespace tsy {

// A sink in an unnamed temporary file, removed when it closes.
class SpoolSink : public SmfSink {
 public:
  SpoolSink();
  ~SpoolSink() override;
  SpoolSink(const SpoolSink&) = delete;
  SpoolSink& operator=(const SpoolSink&) = delete;

  bool Append(std::span<const uint8_t> bytes) override;
  bool Overwrite(size_t offset, std::span<const uint8_t> bytes) override;
  // Appends everything held here to `to`; false when a read or `to` failed.
  bool CopyTo(SmfSink& to);

 private:
  std::FILE* file_;
};

class SmfFormat1Writer : public SmfEvents {
 public:
  // `image` is the engine's copy of the music: which tracks have a stream,
  // and their names. `origin` is the tick that becomes file time 0.
  SmfFormat1Writer(int64_t origin, const uint8_t* image, SmfSink& sink);

  void ShortMessage(int track, int64_t tick, MessageWord message) override;
  void SysEx(int track, int64_t tick, const uint8_t* bytes, size_t length) override;
  void Meta(int track, int64_t tick, const uint8_t* bytes, size_t length) override;
  bool ok() const override;
  bool full() const override;
  // Ends every track and writes the header and the tracks into the sink.
  bool Finish() override;

 private:
  struct Track {
    std::unique_ptr<SpoolSink> spool;
    std::unique_ptr<SmfWriter> writer;
  };

  Track& Opened(int64_t origin);
  // The chunk of engine track `track`; the tempo map for a track without a stream.
  SmfWriter& Of(int track);

  SmfSink& sink_;
  std::vector<Track> tracks_;  // the tempo map first, then the image's tracks in order
  int chunkOf_[kTrackCount];   // engine track -> index in tracks_, 0 when it has no stream
};

}  // namespace tsy
