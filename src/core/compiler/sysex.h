#pragma once
// Raw system-exclusive data written in hexadecimal.

#include "core/compiler/parse_context.h"

namespace tsy {

// sysex -> '@h{' field {',' field} '}'
// field -> hex digits (one byte: the last two digits count) | '"' text '"'
//        | 'cs' (the checksummed bytes start after it) | 'ss' (their checksum)
// Without '{' only the name is consumed.
void ParseSystemExclusive(ParseContext& cx);

}  // namespace tsy
