#pragma once
// Where the selected track plays in its source, in the free band below the
// keyboards: "L.line C.column" of the event it is playing, then the text of
// that source line, cut to fit, drawn as the comment line is (CP932).

#include <cstdint>
#include <functional>
#include <string>

#include "core/engine/engine_state.h"
#include "display/canvas.h"
#include "display/display_layout.h"

namespace tsy {

constexpr Place kSourceLinePlace = {16, 448, 604, 12};  // below keyboard 6, which ends at y 436

// The source position of the event a track plays; line 0: none known.
struct PlayingSourceLine {
  uint32_t line = 0;    // from 1
  uint32_t column = 0;  // from 1, in characters
  std::string text;     // the line as written, CP932
};

// Answers for track row `track` (0..47) of the state copy being painted.
using SourceLineLookup = std::function<PlayingSourceLine(const EngineState& s, int track)>;

// The band's text for `at`, at most `cells` bytes, never half a double-byte character.
std::string SourceLineText(const PlayingSourceLine& at, int cells);

// Clears the band and draws the selected track's source line, when `lookup` knows it.
void DrawSourceLine(Canvas& window, const EngineState& s, int selectedTrack, const SourceLineLookup& lookup);

}  // namespace tsy
