#pragma once
// The published copy of EngineState that the displays paint from. The thread
// that drives the engine (the play thread after each loop, the SMF writer
// while it exports) publishes; any thread reads a consistent copy. Copies go
// to two slots in turn, each with a sequence counter (odd while it is
// written) that tells a reader when it must copy again; all data moves
// through relaxed atomics, so nothing races.

#include <cstdint>

#include "core/engine/engine_state.h"

namespace tsy {

// Copies the live record into the published copy. When another thread is
// publishing at the same moment, this call gives way and publishes nothing.
void PublishEngineState();

// Fills `out` with the latest published copy (all zeros before the first
// publication). Waits, yielding, while a publication is half written.
void ReadEngineState(EngineState& out);

// Counts completed publications, so a reader can tell that something new is there.
uint32_t PublishedCount();

// The copy the play thread publishes each time play starts, at a position or
// a loop's turn, before the clock moves on: a reader that must show where
// play started reads it, however late it looks.
void PublishStartState();
void ReadStartState(EngineState& out);
// Counts the starts published.
uint32_t StartCount();

}  // namespace tsy
