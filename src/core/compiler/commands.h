#pragma once
// The '@' commands: one table of names, matched ignoring letter case in table
// order (the first match wins, so a longer name stands before its prefix).

#include <cstddef>

#include "core/compiler/compile_unit.h"
#include "core/compiler/parse_context.h"

namespace tsy {

// Compiles the '@' command whose name starts at the read position (just
// after the '@'). False, with nothing consumed, when no name matches.
bool ParseAtCommand(ParseContext& cx);

// The number of characters the '@' command starting at `at` (just after the
// '@') would consume, 0 when no name matches. Nothing is written, raised or
// changed: the group scan uses it to step over commands.
size_t MeasureAtCommand(CompileUnit& unit, TrackState& state, size_t at);

}  // namespace tsy
