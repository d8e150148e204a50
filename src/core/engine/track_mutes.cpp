#include "core/engine/track_mutes.h"

namespace tsy {

TrackSet TracksOnChannel(const EngineState& s, int channel) {
  TrackSet tracks;
  for (int t = 0; t < kTrackCount; ++t) tracks[t] = s.trackChannel[t] == channel;
  return tracks;
}

void ToggleTrackMutes(EngineState& s, const TrackSet& tracks) {
  int first = 0;
  while (first < kTrackCount && !tracks[first]) ++first;
  if (first == kTrackCount) return;
  const uint8_t mute = s.trackMute[first] == 0 ? 1 : 0;
  for (int t = first; t < kTrackCount; ++t)
    if (tracks[t]) s.trackMute[t] = mute;
}

void SoloTracks(EngineState& s, const TrackSet& tracks, bool unmuteTracks) {
  for (int t = 0; t < kTrackCount; ++t) {
    if (!tracks[t]) s.trackMute[t] = 1;
    else if (unmuteTracks) s.trackMute[t] = 0;
  }
}

void UnmuteAllTracks(EngineState& s) {
  for (int t = 0; t < kTrackCount; ++t) s.trackMute[t] = 0;
}

}  // namespace tsy
