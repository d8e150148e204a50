#pragma once
// Where the music playing came from, for the main window's source band: per
// image generation (engine_state.h), the source map of the image and the
// source's lines. The window's thread sets them after a compile; the display's
// refresh thread looks up the event a track plays.

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "core/compiler/source_map.h"
#include "display/source_line_panel.h"

namespace tsy {

class PlayingSources {
 public:
  // The image of `source`, whose events `map` describes, plays (or is about
  // to) as image generation `generation`. The two newest generations are kept.
  void Set(uint32_t generation, const std::string& source, SourceMap map);
  // Forgets every source: an image without one (an object file) plays.
  void Clear();

  // Where track row `track` of the state copy `s` plays; line 0 when unknown.
  PlayingSourceLine Lookup(const EngineState& s, int track) const;

 private:
  struct Entry {
    uint32_t generation = 0;
    SourceMap map;
    std::vector<std::string> lines;  // CP932, without their line ends
  };

  mutable std::mutex mutex_;
  std::deque<Entry> entries_;
};

// The program's one record, and the track display's look-up into it.
PlayingSources& ThePlayingSources();
SourceLineLookup PlayingSourceLookup();

}  // namespace tsy
