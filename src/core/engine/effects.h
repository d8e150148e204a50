#pragma once
// The engine's continuous effects: controller ramps (event B3), pitch-bend
// ramps (event B5, portamento) and the fade-out. They advance inside the
// TrackPass of a track on their channel, at most one step per tick, and
// write their messages into the pass's output like any event. The values are
// single-precision floats, so the steps match the music's written numbers.

#include <cstdint>

#include "core/engine/engine_state.h"
#include "core/engine/pass_output.h"

namespace tsy {

constexpr uint32_t kTicksPerFadeStep = 8;  // the fade lowers the master volume one step every 8 ticks

// Controller `controller` of `channel` goes from `from` to `to` over `length`
// ticks, starting at the current pass tick; a length of 0 starts nothing.
void StartControllerRamp(EngineState& s, uint8_t channel, uint8_t controller, uint16_t length, uint8_t from,
                         uint8_t to);

// The channel's bend moves by `semitones` over `length` ticks; when the note
// that follows has its release bit, it glides from there back to its pitch.
void StartBendRamp(EngineState& s, uint8_t channel, uint16_t length, int8_t semitones);

// One step of the bend ramp, then of controllers 0..127, of the channel of
// `track`, where a step is due.
void StepChannelRamps(EngineState& s, int track, PassOutput& out);

// One step of the fade-out (or the restored master volume after it ended):
// the master volume falls by one every 8 ticks; past step 160 play is stopped.
void StepFade(EngineState& s, PassOutput& out);

}  // namespace tsy
