#pragma once
// Portamento: a note that glides in from another pitch.

#include "core/compiler/parse_context.h"

namespace tsy {

// portamento -> 'w' [length] octaves letter accidentals octaves letter accidentals [length]
// The first length is the glide time (the note's length when not written),
// the second the note's length (its share inside a group); octaves are any
// run of '<' and '>'. Writes the glide event and the second note.
void ParsePortamento(ParseContext& cx);

}  // namespace tsy
