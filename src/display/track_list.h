#pragma once
// The 16-row track list of the track display: per row the track number, its
// channel, read offset, the details of the display mode, the note and its
// length, in 6 x 12 cells on a black picture.

#include "core/engine/engine_state.h"
#include "display/canvas.h"

namespace tsy {

// The four detail modes (the shell's DispMode).
enum DisplayMode : int {
  kModeChannel = 0,  // program, volume, velocity, pan
  kModeTuning = 1,   // fine tuning, bend, expression
  kModeEffects = 2,  // reverb, chorus, pedals
  kModeChord = 3,    // the whole chord instead of the offset and details
};

struct TrackListView {
  int trackScroll = 0;  // track shown in row 0, 0..32
  int cursorRow = 0;    // highlighted row, 0..15
  int mode = kModeChannel;
};

// Draws the list for `view` from the engine state copy `s` onto `picture`
// (300 x 192, which it first fills black).
void DrawTrackList(Canvas& picture, const EngineState& s, const TrackListView& view);

}  // namespace tsy
