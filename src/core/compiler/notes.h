#pragma once
// Notes and rests with their accidentals, lengths, one-note octave marks and
// chord links; ties and slurs; the gate; and the note event with its flags.

#include <cstdint>

#include "core/compiler/parse_context.h"

namespace tsy {

// note -> letter accidentals [length] {'!' | '?'} ['/'];  rest -> 'r' [length] {'!' | '?'} ['/']
void ParseNote(ParseContext& cx, char letter);

// tie -> ('&' | '~') after a note: the previous event sounds to its full
// length and the next note is joined to it.
void ParseTie(ParseContext& cx);

// gate -> 'q' digit (1..8)
void ParseGate(ParseContext& cx);

// The gate every note event gets now: 8 in slur mode.
uint8_t CurrentGate(const TrackState& state);

// True when a tie or slur waits and the most recent note event has note number `note`.
bool TieJoins(const ParseContext& cx, int note);

// Writes a full note event of `ticks`. A waiting tie or slur marks it slurred
// and, when `joins`, makes it continue the earlier note (no attack there, no
// release before it).
void WriteNoteEvent(ParseContext& cx, int note, int64_t ticks, bool joins);

}  // namespace tsy
