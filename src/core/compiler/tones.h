#pragma once
// The tone command: program changes with optional bank select, through the
// compile's tone map, and the definitions of tone map entries.

#include "core/compiler/parse_context.h"

namespace tsy {

// tone -> '@' index [',' [msb] [',' lsb]]     use: index 0..255, or a program 0..127 with a bank
//       | '@' index '=' program [',' msb [',' lsb]]   definition of entry index
// Starts at the first digit. Every value fault raises kToneOutOfRange.
void ParseTone(ParseContext& cx);

}  // namespace tsy
