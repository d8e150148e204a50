#pragma once
// Equal-division groups: the notes between '{' and '}' share the length
// written after the '}'.

#include <cstdint>

#include "core/compiler/parse_context.h"

namespace tsy {

// group -> '{' {note | command} '}' [denominator]
// At '{' the text up to '}' is scanned to count the notes; the notes are then
// compiled one by one, each taking the next share.
void ParseGroupOpen(ParseContext& cx);
void ParseGroupClose(ParseContext& cx);

// True while notes of an open group still wait for their share.
bool GroupShareDue(const TrackState& state);
// The next note's share in whole ticks: fractions carry from note to note,
// and the last note rounds the remaining fraction, so the shares add up.
int64_t NextGroupShare(TrackState& state);

}  // namespace tsy
