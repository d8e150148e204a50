#pragma once
// Ornaments: the nine ornament commands set one up for the next note, which
// is then written as a run of short notes around it.

#include <cstdint>

#include "core/compiler/parse_context.h"

namespace tsy {

// ornament -> name {'+' | '#' | '-'} [length]: the signs raise or lower the
// auxiliary notes, the length is that of each ornament note.
void ParseOrnament(ParseContext& cx, OrnamentKind kind);

// ornament length -> '@trs' [length]: the default ornament note length;
// without a length, the default note length.
void ParseOrnamentLength(ParseContext& cx);

// Writes the pending ornament's notes and then the main note for what is
// left of `ticks`. `natural` is the letter's pitch in the octave, `main` the
// main note number, `shift` the transposition and octave marks that moved it
// (the auxiliary notes move with it). Raises kOrnamentLeavesNoLength when no time is left for
// the main note and kOctaveOutOfRange when an auxiliary note falls out of range.
void WriteOrnamentedNote(ParseContext& cx, int natural, int main, int64_t ticks, int shift);

}  // namespace tsy
