#pragma once
// The mute keys of the main window and the Tone window, which act on a set of
// tracks: the main window's selected track, or every track that plays on the
// Tone window's channel. They write `trackMute` from the user-interface
// thread while passes run; a track picks the change up at its next note.

#include <bitset>

#include "core/engine/engine_state.h"

namespace tsy {

using TrackSet = std::bitset<kTrackCount>;  // by row 0..47

// Every track whose channel is `channel` (0..15).
TrackSet TracksOnChannel(const EngineState& s, int channel);

// Every track of `tracks` takes the opposite of the first one's mute.
void ToggleTrackMutes(EngineState& s, const TrackSet& tracks);

// Mutes every track outside `tracks`. With `unmuteTracks` the tracks of the
// set sound (the main window's solo); without, they keep their mute (the
// Tone window's).
void SoloTracks(EngineState& s, const TrackSet& tracks, bool unmuteTracks);

// Unmutes all 48 tracks.
void UnmuteAllTracks(EngineState& s);

}  // namespace tsy
