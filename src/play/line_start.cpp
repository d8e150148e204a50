#include "play/line_start.h"

#include <algorithm>

#include "core/engine/engine_call.h"
#include "core/engine/play_controls.h"
#include "core/engine/seek.h"
#include "core/smf/render_length.h"

namespace tsy {
namespace {

// The image offset of each track's first event from `line` on; 0 for a
// track without one.
TrackOffsets FirstEventsFromLine(const SourceMap& map, uint32_t line) {
  TrackOffsets offsets{};
  for (int t = 0; t < kTrackCount; ++t)
    if (const SourceMapEntry* event = map.FirstEventFromLine(t + 1, line)) offsets[t] = event->offset;
  return offsets;
}

// Runs the music silently to the first tick that reaches `offsets`, looking
// as far as an export of it would run, and rewinds it after.
std::optional<uint32_t> FindTickReaching(const TrackOffsets& offsets) {
  TakeEngine();
  RewindTracks();
  ResetEngine();
  const int64_t limit = 2 * LongestTrack(CurrentImage()) + kEndAfterTwice;
  const auto tick = FirstTickReaching(offsets, static_cast<uint32_t>(std::min<int64_t>(limit, UINT32_MAX)));
  RewindTracks();
  ResetEngine();
  return tick;
}

}  // namespace

std::optional<uint32_t> FirstTickFromLine(const SourceMap& map, uint32_t line) {
  const TrackOffsets offsets = FirstEventsFromLine(map, line);
  const bool any = std::any_of(offsets.begin(), offsets.end(), [](uint32_t offset) { return offset != 0; });
  return any ? FindTickReaching(offsets) : std::nullopt;
}

}  // namespace tsy
