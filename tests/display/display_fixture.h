#pragma once
// Engine states for the display tests: a record as a reset leaves it, tracks
// placed in a fake image, and readers of a recorded paint by cell and segment.

#include <memory>
#include <string>

#include "core/engine/engine_state.h"
#include "display/recording_canvas.h"

namespace tsy::testing {

// The engine's defaults after a reset, with an image of `version` accepted
// (0: none) and no track present.
std::unique_ptr<EngineState> ResetState(int version = 23);

// Gives track t a stream whose next byte lies `offset` bytes past imageData.
void PlaceTrack(EngineState& s, int t, int offset = 0);

// Makes track t's current event the notes `notes` (a note-on just sent).
void SoundNotes(EngineState& s, int t, std::initializer_list<int> notes);

// The text run drawn at column c of track-list row r, or null.
const RecordingCanvas::TextRun* ListCell(const RecordingCanvas& canvas, int row, int column);
// Every run of track-list row r, in order.
std::string ListRowText(const RecordingCanvas& canvas, int row);

// Meter k's 16 segments from the top: '#' lit, '.' unlit.
std::string MeterSegments(const RecordingCanvas& canvas, int k);

}  // namespace tsy::testing
