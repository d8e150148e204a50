#pragma once
// Where each event of an image came from: for every event the compiler
// wrote, the source position of the construct that wrote it (a note, a
// command, a bar line); what a substitution letter inserted maps to the
// letter. The map lives beside the image in memory and changes none of its
// bytes. Players ask it which source position an event came from, and where
// the first event of a line is.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/compiler/source_position.h"
#include "core/image/image_layout.h"

namespace tsy {

struct SourceMapEntry {
  uint32_t offset = 0;  // the event's first byte: in the image, or in the track's bytes while compiling
  SourcePosition at;    // the first character of the construct that wrote it
};

class SourceMap {
 public:
  // Records the events of track `track` (1..48), whose offsets count from
  // the start of its stream; the stream starts at `streamOffset` in the image.
  void AddTrack(int track, uint32_t streamOffset, std::span<const SourceMapEntry> events);

  // Track `track`'s events in stream order: offsets ascending, and positions
  // never going back, since a pass compiles forward through the text. Empty
  // for a track without a stream.
  std::span<const SourceMapEntry> Events(int track) const;

  // The event of `track` that holds image offset `offset`: the last one
  // starting at or before it (the stream's terminator belongs to the last
  // event). Null when the track has no event there.
  const SourceMapEntry* EventAt(int track, uint32_t offset) const;

  // The event a player of `track` has just read, when its next stream byte is
  // at image offset `next`: the one that holds the byte before it. Null when
  // the track has read none of its events yet.
  const SourceMapEntry* EventBefore(int track, uint32_t next) const {
    return next == 0 ? nullptr : EventAt(track, next - 1);
  }

  // The first event of `track` compiled from source line `line` or a later
  // one; null when there is none.
  const SourceMapEntry* FirstEventFromLine(int track, uint32_t line) const;

 private:
  std::array<std::vector<SourceMapEntry>, kTrackCount> tracks_;
};

}  // namespace tsy
