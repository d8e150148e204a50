#pragma once
// The six piano keyboards: keyboard k (1..6) lights, in palette colour k, the
// keys of the notes now sounding on the tracks whose trackTag is k.

#include "core/engine/engine_state.h"
#include "display/canvas.h"

namespace tsy {

// Draws the six keyboards through the shared 441 x 24 `picture` onto `window`.
void DrawKeyboards(Canvas& window, Canvas& picture, const EngineState& s);

}  // namespace tsy
