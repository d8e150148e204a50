#pragma once
// The track interpreter: one pass of one track at the engine's current tick.
// Reached through EngineCall (codes 0..47), which checks that an image was
// accepted first.

#include <cstdint>

#include "core/engine/engine_call.h"

namespace tsy {

// Load form: track t starts (and continues) at `stream`, null for no track.
// The stream may be read up to the end of its stream in the engine's image
// copy (load_image.h), never beyond.
void LoadTrackStream(int track, const uint8_t* stream);

// Sends track t's due note-offs, steps the fade and its channel's ramps and
// decodes every event due at `tick`, writing at most kMessageCapacity words
// into `messages` and at most kSlotCount slots. Returns the words written,
// or -1 when the track has no stream.
int RunTrackPass(int track, MessageWord* messages, MessageSlots* slots);

// The one thing a pass does for a track that has no event due while no ramp
// or fade runs: the note-off of an expired gate. Everything else such a pass
// does only refreshes the ages the displays show, which the next full pass
// refreshes too; a seek, which runs thousands of ticks in a few
// milliseconds, runs this instead. Returns the words written.
int RunGateExpiry(int track, MessageWord* messages, MessageSlots* slots);

}  // namespace tsy
