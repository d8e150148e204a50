#include "display_fixture.h"

#include "display/display_layout.h"

namespace tsy::testing {
namespace {

uint8_t image[16383];

}  // namespace

std::unique_ptr<EngineState> ResetState(int version) {
  auto s = std::make_unique<EngineState>();
  s->imageAccepted = version != 0 ? 1 : 0;
  s->imageVersion = static_cast<uint8_t>(version);
  s->image = image;
  s->imageData = image + 400;
  s->tempo = s->songTempo = 120;
  for (int t = 0; t < kTrackCount; ++t) {
    s->trackChannel[t] = static_cast<uint8_t>(t % 16);
    s->lengthValues[t][0] = 4;
    s->eventNotes[t][0] = kEventRest;
    s->trackTag[t] = 1;
    s->noteFlags[t] = 3;
    s->velocity[t] = 110;
  }
  for (int c = 0; c < kChannelCount; ++c) {
    s->chanFlags[c] = c == 9 ? kChanRhythmNames : 0;
    s->volume[c] = 127;
    s->pan[c] = 64;
    s->reverb[c] = 40;
    s->expression[c] = 127;
    s->fineTune[c] = 8192;
  }
  return s;
}

void PlaceTrack(EngineState& s, int t, int offset) { s.trackPos[t] = image + 400 + offset; }

void SoundNotes(EngineState& s, int t, std::initializer_list<int> notes) {
  int j = 0;
  for (int n : notes) s.eventNotes[t][j++] = static_cast<uint8_t>(n);
  s.chordSize[t] = static_cast<uint8_t>(j);
  s.noteState[t] = kNoteSounding;
  s.msSinceOn[t] = 0;
  s.msSinceRest[t] = 5;
}

const RecordingCanvas::TextRun* ListCell(const RecordingCanvas& canvas, int row, int column) {
  return canvas.TextAt(kTrackListPlace.x + 6 * column + 1, kTrackListPlace.y + 12 * row);
}

std::string ListRowText(const RecordingCanvas& canvas, int row) {
  std::string text;
  for (const auto& run : canvas.texts()) {
    if (run.y == kTrackListPlace.y + 12 * row && run.x >= kTrackListPlace.x &&
        run.x < kTrackListPlace.x + kTrackListPlace.width) {
      text += run.text + "|";
    }
  }
  return text;
}

std::string MeterSegments(const RecordingCanvas& canvas, int k) {
  const Place place = MeterPlace(k);
  std::string segments;
  for (int i = 0; i < 16; ++i) {
    const auto colour = canvas.FillColourAt(place.x + 1, place.y + 4 * i);
    segments += colour && *colour != 0x000000 ? '#' : '.';
  }
  return segments;
}

}  // namespace tsy::testing
