#include "display/track_list.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include "display/palette.h"
#include "platform/text_format.h"

namespace tsy {
namespace {

constexpr int kRows = 16;
constexpr int kUnset = 128;  // channel values from here up (255 = unset) show as dashes
constexpr size_t kChordTextChars = 28;

constexpr const char* kNoteNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

// Places texts along one row, cell by cell: column c starts at x = 6 c + 1.
class RowWriter {
 public:
  RowWriter(Canvas& canvas, int row) : canvas_(canvas), y_(row * kCellHeight) {}

  // Draws `text` at the current column, then advances by `columns`.
  void Put(std::string_view text, Colour fore, int columns) {
    canvas_.Text(x(), y_, text, fore);
    column_ += columns;
  }
  void PutOpaque(std::string_view text, Colour fore, Colour back, int columns) {
    canvas_.Text(x(), y_, text, fore, back);
    column_ += columns;
  }
  void Skip(int columns) { column_ += columns; }

 private:
  int x() const { return kCellWidth * column_ + 1; }

  Canvas& canvas_;
  int y_;
  int column_ = 0;
};

// "%03d"-style field, or `dashes` when the value is unset (128 or more).
std::string FieldOrDashes(const char* format, int value, const char* dashes) {
  return value >= kUnset ? std::string(dashes) : Format(format, value);
}

char OctaveChar(int note) {
  const int octave = note / 12 - 1;
  return octave < 0 ? '-' : static_cast<char>('0' + octave);
}

// The channel of track t, kept inside the channel tables even for a torn copy.
int ChannelOf(const EngineState& s, int t) { return s.trackChannel[t] & 15; }

int ChordSize(const EngineState& s, int t) {
  const int size = s.chordSize[t];
  return size < kChordNotes ? size : kChordNotes;
}

void PutNumber(RowWriter& row, const EngineState& s, int t, bool selected) {
  const std::string number = Format("%2d:", t + 1);
  const bool muted = s.trackMute[t] != 0;
  if (selected) {
    row.PutOpaque(number, kBlack, muted ? kRed : kYellow, 3);
  } else {
    row.Put(number, muted ? kBlue : kCyan, 3);
  }
}

// The read offset from the image's track data: an optional fifth hex digit,
// then four.
void PutOffset(RowWriter& row, const EngineState& s, int t) {
  const uintptr_t offset =
      reinterpret_cast<uintptr_t>(s.trackPos[t].load()) - reinterpret_cast<uintptr_t>(s.imageData.load());
  const unsigned high = (offset >> 16) & 0xF;
  if (high != 0) row.Put(Format("%1X", high), kYellow, 0);
  row.Skip(1);
  row.Put(Format("%04X", static_cast<unsigned>(offset & 0xFFFF)), kYellow, 5);
}

void PutChannelDetails(RowWriter& row, const EngineState& s, int t, int c) {
  const bool bankKnown = s.bankMsb[c] != 255 && s.bankLsb[c] != 255;
  const bool bankSet = bankKnown && (s.bankMsb[c] != 0 || s.bankLsb[c] != 0);
  row.Put(FieldOrDashes("@%03d ", s.program[c], "@--- "), bankSet ? kGreen : kWhite, 5);
  row.Put(FieldOrDashes("V%03d", s.volume[c], "V---") + FieldOrDashes(",%03d ", s.velocity[t], ",--- "), kWhite, 9);
  const int pan = s.pan[c];
  std::string panText = "M-- ";
  if (pan < kUnset) {
    panText = Format("%c%02d ", pan < 64 ? 'L' : pan == 64 ? 'M' : 'R', std::abs(pan - 64));
  }
  row.Put(panText, kCyan, 4);
  row.Skip(1);
}

void PutTuningDetails(RowWriter& row, const EngineState& s, int c) {
  const int fine = s.fineTune[c];
  row.Put(fine == kUnsetFineTune ? std::string("D----- ")
                                 : Format("D%c%04d ", fine >= 8192 ? '+' : '-', std::abs(fine - 8192)),
          kWhite, 7);
  const int bend = static_cast<int>(s.bendNow[c]);  // truncates toward zero
  row.Put(std::abs(bend) > 8191 ? std::string("B----- ") : Format("B%c%04d ", bend >= 0 ? '+' : '-', std::abs(bend)),
          kWhite, 7);
  row.Put(FieldOrDashes("E%03d ", s.expression[c], "E--- "), kWhite, 5);
}

void PutEffectDetails(RowWriter& row, const EngineState& s, int c) {
  row.Put(FieldOrDashes("R%03d ", s.reverb[c], "R--- "), kWhite, 5);
  row.Put(FieldOrDashes("C%03d ", s.chorus[c], "C--- "), kWhite, 10);
  row.Put(Format("%c ", (s.chanFlags[c] & kChanSoftPedal) ? 'S' : ' '), kCyan, 2);
  row.Put(Format("%c ", (s.chanFlags[c] & kChanSustain) ? 'H' : ' '), kCyan, 2);
}

// "Wait" or a rest in red; true when the event is one of them.
bool PutWaitOrRest(RowWriter& row, const EngineState& s, int t, int columns) {
  const int first = s.eventNotes[t][0];
  if (first == kEventWaiting) {
    row.Put("Wait", kRed, columns);
    return true;
  }
  if (first == kEventRest) {
    row.Put("R    ", kRed, columns);
    return true;
  }
  return false;
}

Colour NoteColour(const EngineState& s, int t) {
  return (s.noteFlags[t] & 4) ? kGreen : kYellow;  // slurred or bent
}

// The chord: octave and name of the first note, then each further note's
// name, with its octave only where the octave changes. "O4C/E/O5G".
void PutChord(RowWriter& row, const EngineState& s, int t) {
  constexpr int kColumns = 29;
  if (PutWaitOrRest(row, s, t, kColumns)) return;
  std::string text;
  char previousOctave = 0;
  for (int j = 0; j < ChordSize(s, t); ++j) {
    const int note = s.eventNotes[t][j];
    const char octave = OctaveChar(note);
    if (j > 0) text += '/';
    if (j == 0 || octave != previousOctave) {
      text += 'O';
      text += octave;
    }
    text += kNoteNames[note % 12];
    previousOctave = octave;
  }
  if (text.size() > kChordTextChars) text.resize(kChordTextChars);
  row.Put(text, NoteColour(s, t), kColumns);
}

void PutNote(RowWriter& row, const EngineState& s, int t) {
  constexpr int kColumns = 5;
  if (PutWaitOrRest(row, s, t, kColumns)) return;
  const int note = s.eventNotes[t][0];
  row.Put(Format("O%c%s%c", OctaveChar(note), kNoteNames[note % 12], s.chordSize[t] > 1 ? '/' : ' '), NoteColour(s, t),
          kColumns);
}

// The length as a sum of note values: "L4", "L4." (dotted), "L4^16" (tied).
void PutLength(RowWriter& row, const EngineState& s, int t) {
  const auto& values = s.lengthValues[t];
  std::string text = Format("L%d", int{values[0]});
  const int count = s.lengthValueCount[t];
  const int last = count < kLengthValueSlots ? count : kLengthValueSlots - 1;
  for (int j = 1; j <= last; ++j) {
    text += values[j] == 2 * values[j - 1] ? std::string(".") : Format("^%d", int{values[j]});
  }
  row.Put(text, (s.noteFlags[t] & 8) ? kCyan : kWhite, 0);
}

void DrawRow(Canvas& picture, const EngineState& s, const TrackListView& view, int r) {
  const int t = view.trackScroll + r;
  RowWriter row(picture, r);
  PutNumber(row, s, t, r == view.cursorRow);
  if (s.trackPos[t].load() == nullptr) return;
  const int c = ChannelOf(s, t);
  row.Put(Format("(%2d)", c + 1), kYellow, 4);
  if (view.mode == kModeChord) {
    row.Skip(1);
    PutChord(row, s, t);
  } else {  // the offset and details also end at the length column, 37
    PutOffset(row, s, t);
    if (view.mode == kModeChannel) PutChannelDetails(row, s, t, c);
    if (view.mode == kModeTuning) PutTuningDetails(row, s, c);
    if (view.mode == kModeEffects) PutEffectDetails(row, s, c);
    PutNote(row, s, t);
  }
  PutLength(row, s, t);
}

}  // namespace

void DrawTrackList(Canvas& picture, const EngineState& s, const TrackListView& view) {
  picture.FillRect(0, 0, 300, 192, kBlack);
  TrackListView safe = view;
  if (safe.trackScroll < 0 || safe.trackScroll > kTrackCount - kRows) safe.trackScroll = 0;
  for (int r = 0; r < kRows; ++r) DrawRow(picture, s, safe, r);
}

}  // namespace tsy
