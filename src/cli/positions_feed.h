#pragma once
// The positions feed of tsy play --positions: one JSON object a line, each
// time the position moves, for editors that show where each track plays:
//   {"tick":N,"position":"B.TTT","tempo":T,
//    "tracks":[{"track":K,"line":L,"column":C,"notes":[...]},...]}
// with an entry for every track that still has a stream: the source line and
// column of the event it is playing (0 and 0 when the music has no source
// map, or before the track's first event) and the notes it sounds.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/compiler/source_map.h"
#include "core/engine/engine_state.h"

namespace tsy::cli {

// The line for the engine state `s`, whose events came from `map` (null:
// no map), without its line break.
std::string PositionsLine(const EngineState& s, const SourceMap* map);

class PositionsFeed {
 public:
  static constexpr std::chrono::milliseconds kPeriod{20};  // lines come at most this often

  PositionsFeed() = default;
  PositionsFeed(const PositionsFeed&) = delete;
  PositionsFeed& operator=(const PositionsFeed&) = delete;
  ~PositionsFeed();

  // Opens `path` for writing ("-": standard output). False after saying why
  // on stderr.
  bool Open(const std::string& path);

  // True when a line for `tick` is due: the tick differs from the last
  // line's and the period has passed since it.
  bool Due(uint32_t tick) const;
  // Writes the line for `s`. False once the feed cannot be written (its
  // reader went away); the feed is closed then.
  bool Write(const EngineState& s, const SourceMap* map);

 private:
  std::FILE* out_ = nullptr;
  bool ownsFile_ = false;
  uint32_t lastTick_ = UINT32_MAX;
  std::chrono::steady_clock::time_point lastAt_{};
};

}  // namespace tsy::cli
