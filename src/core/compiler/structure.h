#pragma once
// The structure of a track: repeats, bar lines, the restart and stop marks,
// labels and jumps, and the end of bar-line synchronisation.

#include <cstdint>

#include "core/compiler/parse_context.h"

namespace tsy {

// repeat -> '(' ... ')' count (1..255), nested up to 255 deep.
void ParseRepeatStart(ParseContext& cx);
void ParseRepeatEnd(ParseContext& cx);

// Adds a note's ticks to the innermost open repeat body, or to the track total.
void CountTicks(TrackState& state, int64_t ticks);

// The track's length so far: repeats multiplied out, a repeat left open
// counted once (it plays once), saturated at the header field's maximum.
uint32_t TrackTicks(const TrackState& state);

// bar -> '\'': ends the accidentals of the bar and marks a synchronisation point.
void ParseBarLine(ParseContext& cx);

// restart -> '*' ['*']: the piece restarts from the top ('*') or stops ('**').
void ParseRestartStop(ParseContext& cx);

// '@label' n, '@jump' n (0..255), '@noout'.
void ParseLabel(ParseContext& cx);
void ParseJump(ParseContext& cx);
void ParseNoOutput(ParseContext& cx);

}  // namespace tsy
