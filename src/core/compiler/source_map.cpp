#include "core/compiler/source_map.h"

#include <algorithm>

namespace tsy {

void SourceMap::AddTrack(int track, uint32_t streamOffset, std::span<const SourceMapEntry> events) {
  std::vector<SourceMapEntry>& entries = tracks_[track - 1];
  entries.clear();
  entries.reserve(events.size());
  for (const SourceMapEntry& event : events) entries.push_back({streamOffset + event.offset, event.at});
}

std::span<const SourceMapEntry> SourceMap::Events(int track) const {
  if (track < 1 || track > kTrackCount) return {};
  return tracks_[track - 1];
}

const SourceMapEntry* SourceMap::EventAt(int track, uint32_t offset) const {
  std::span<const SourceMapEntry> events = Events(track);
  auto after = std::upper_bound(events.begin(), events.end(), offset,
                                [](uint32_t at, const SourceMapEntry& event) { return at < event.offset; });
  return after == events.begin() ? nullptr : &*(after - 1);
}

const SourceMapEntry* SourceMap::FirstEventFromLine(int track, uint32_t line) const {
  std::span<const SourceMapEntry> events = Events(track);
  auto first = std::partition_point(events.begin(), events.end(),
                                    [line](const SourceMapEntry& event) { return event.at.line < line; });
  return first == events.end() ? nullptr : &*first;
}

}  // namespace tsy
