#pragma once
// The published copy of EngineState that the displays paint from. The thread
// that drives the engine (the play thread after each loop, the SMF writer
// while it exports) publishes; any thread reads a consistent copy. A sequence
// counter (odd while a copy is being written) tells a reader that it must copy
// again; all data moves through relaxed atomics, so nothing races.

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

}  // namespace tsy
