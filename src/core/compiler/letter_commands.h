#pragma once
// The letter commands: tempo 't', velocity 'v' and expression 'u'.

#include "core/compiler/parse_context.h"

namespace tsy {

// tempo -> 't' number (12..992 quarter notes per minute)
void ParseTempo(ParseContext& cx);

// velocity -> 'v' (number | ('+' | '-') number | '=' ('+' | '-') number)
// A number 0..15 sets the velocity in sixteen steps; the signed forms change
// it or set its offset by -128..127.
void ParseVelocity(ParseContext& cx);

// expression -> 'u' (number | ('+' | '-') number | '=' ('+' | '-') number)
void ParseExpression(ParseContext& cx);

}  // namespace tsy
