#include "cli/positions_feed.h"

#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>

#include "cli/play_position.h"

namespace tsy::cli {
namespace {

using Json = nlohmann::ordered_json;  // keys in the order the feed documents

// The notes the track sounds now: its chord, when a note-on went out.
Json SoundingNotes(const EngineState& s, int t) {
  Json notes = Json::array();
  if (s.noteState[t] != kNoteSounding || s.eventNotes[t][0] == kEventRest) return notes;
  const int count = std::min<int>(s.chordSize[t], kChordNotes);
  for (int i = 0; i < count; ++i) notes.push_back(int{s.soundingNotes[t][i]});
  return notes;
}

// The event the track plays is the last one its passes decoded.
SourcePosition PlayingPosition(const EngineState& s, int t, const SourceMap* map) {
  const uint8_t* image = s.image;
  const uint8_t* next = s.trackPos[t];
  if (!map || !image || next <= image) return {};
  const SourceMapEntry* event = map->EventBefore(t + 1, static_cast<uint32_t>(next - image));
  return event ? event->at : SourcePosition{};
}

}  // namespace

std::string PositionsLine(const EngineState& s, const SourceMap* map) {
  Json tracks = Json::array();
  for (int t = 0; t < kTrackCount; ++t) {
    if (s.trackPos[t] == nullptr) continue;
    const SourcePosition at = PlayingPosition(s, t, map);
    tracks.push_back({{"track", t + 1}, {"line", at.line}, {"column", at.column}, {"notes", SoundingNotes(s, t)}});
  }
  const uint32_t tick = s.tick;
  const Json line = {{"tick", tick}, {"position", PositionText(tick)}, {"tempo", int{s.tempo}}, {"tracks", tracks}};
  return line.dump();
}

PositionsFeed::~PositionsFeed() {
  if (ownsFile_ && out_) std::fclose(out_);
}

bool PositionsFeed::Open(const std::string& path) {
  if (path == "-") {
    out_ = stdout;
    return true;
  }
  out_ = std::fopen(path.c_str(), "w");
  if (!out_) {
    std::fprintf(stderr, "tsy: cannot write the positions to %s (%s)\n", path.c_str(), std::strerror(errno));
    return false;
  }
  ownsFile_ = true;
  return true;
}

bool PositionsFeed::Due(uint32_t tick) const {
  return out_ && tick != lastTick_ && std::chrono::steady_clock::now() - lastAt_ >= kPeriod;
}

bool PositionsFeed::Write(const EngineState& s, const SourceMap* map) {
  if (!out_) return false;
  lastTick_ = s.tick;
  lastAt_ = std::chrono::steady_clock::now();
  const std::string line = PositionsLine(s, map) + "\n";
  if (std::fputs(line.c_str(), out_) < 0 || std::fflush(out_) != 0) {
    if (ownsFile_) std::fclose(out_);
    out_ = nullptr;
    return false;
  }
  return true;
}

}  // namespace tsy::cli
