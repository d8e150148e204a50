#pragma once
// Seek: the engine's passes run silently from tick 0 to a later tick, as fast
// as they can, so that play (or an export) can start there. Every message the
// passes yield keeps the engine's channel record as delivery would and is
// absorbed into a ChasedState instead of being sent; synchronisation marks,
// repeats, jumps and ramps resolve exactly as in play. Ticks at which no
// track has anything due are stepped over, and so are the passes of tracks
// with nothing due while no ramp or fade runs.
//
// The caller has the engine to itself, rewound to tick 0 and reset: the play
// thread while it starts or takes a new image over, the SMF writer, or a
// thread that took the engine from the play thread (status kExporting).

#include <array>
#include <cstdint>
#include <optional>

#include "core/engine/chase.h"

namespace tsy {

constexpr uint32_t kBarTicks = 192;  // ticks of one bar (a whole note)

// Runs the passes of ticks 0 .. target - 1 into `chase` (cleared first, then
// composed) and leaves the engine at `target`: `tick` and `barTick` set, and
// every note that started before it marked as sounding without a note-on, so
// that it is never released and a held note resumes only at its next attack.
// Music requests (event FC) met on the way are ignored. Returns the tick
// reached: `target`, or less when every track ended before it.
uint32_t SeekTo(uint32_t target, ChasedState& chase);

// Image offsets per track (0..47); 0: the track is not looked for.
using TrackOffsets = std::array<uint32_t, kTrackCount>;

// Runs the passes silently from tick 0 until a pass moves some track's next
// event past `offsets[t]`: the pass that reaches the event there (or one
// beyond it). Returns that tick, or nothing when no track gets there before
// every track has ended or `limit` ticks have passed. Leaves the engine
// wherever it stopped; the caller rewinds it.
std::optional<uint32_t> FirstTickReaching(const TrackOffsets& offsets, uint32_t limit);

}  // namespace tsy
