#pragma once
// The beat indicator: two yellow spokes that turn once per 4/4 bar (192
// ticks) around a small white square.

#include <array>
#include <cstdint>

#include "core/engine/engine_state.h"
#include "display/canvas.h"

namespace tsy {

// Entry d: 255 x sin(d degrees), truncated toward zero.
const std::array<int16_t, 360>& SineTable();

// Draws the indicator for `s` into `picture` (32 x 32, filled black first).
void DrawBeatIndicator(Canvas& picture, const EngineState& s);

}  // namespace tsy
