#include "core/compiler/notes.h"

#include "core/compiler/groups.h"
#include "core/compiler/lengths.h"
#include "core/compiler/ornaments.h"
#include "core/compiler/pitch.h"
#include "core/compiler/structure.h"
#include "core/image/event_table.h"

namespace tsy {
namespace {

// marks -> {'!' | '?'}: semitones, 12 per mark.
int ReadOctaveMarks(ParseContext& cx) {
  int semitones = 0;
  for (;;) {
    if (cx.Accept('!')) semitones += 12;
    else if (cx.Accept('?')) semitones -= 12;
    else return semitones;
  }
}

// The length of a note that is not a chord member: its share of an open
// group, else its own length expression. 0 after a fault.
int64_t ReadNoteTicks(ParseContext& cx) {
  if (GroupShareDue(cx.state)) return NextGroupShare(cx.state);
  Length length = ReadLength(cx);
  if (!length.ok) {
    cx.Fault(TextId::kResolutionOutOfRange);  // the faulty expression leaves no length
    return 0;
  }
  return length.ticks;
}

}  // namespace

uint8_t CurrentGate(const TrackState& state) { return static_cast<uint8_t>(state.slurMode ? kMaxGate : state.gate); }

bool TieJoins(const ParseContext& cx, int note) {
  const TrackState& s = cx.state;
  return s.slurPending && s.lastNoteAt && *s.lastNoteAt < cx.unit.track.size() && cx.unit.track[*s.lastNoteAt] == note;
}

void WriteNoteEvent(ParseContext& cx, int note, int64_t ticks, bool joins) {
  TrackState& s = cx.state;
  uint8_t flags = kNoteAttack | kNoteRelease;
  if (s.slurPending) {
    flags |= kNoteSlurred;
    if (joins) {
      cx.unit.track[*s.lastNoteAt + kNoteFlagsAt] &= ~kNoteRelease;
      flags &= ~kNoteAttack;
    }
    s.slurPending = false;
  }
  size_t before = cx.out.size();
  size_t at = cx.out.Note(static_cast<uint8_t>(note), flags, CurrentGate(s), static_cast<uint32_t>(ticks));
  if (cx.out.size() > before) s.lastNoteAt = at;
}

void ParseNote(ParseContext& cx, char letter) {
  TrackState& s = cx.state;
  bool rest = letter == 'r';
  int natural = 0;
  int note = kRestNote;
  if (!rest) {
    int position = LetterPosition(letter);
    natural = NaturalPitch(s, position);
    note = TakeKeySignature(s, position);
    ReadAccidentals(cx, position, note);
    note += s.transposition;
  }

  bool member = s.chordMember;
  int64_t ticks = 0;
  if (!member) {
    ticks = ReadNoteTicks(cx);
    if (!cx.ok() || !CheckNoteTicks(cx, ticks)) return;
  }
  int marks = ReadOctaveMarks(cx);
  bool chord = cx.Accept('/');

  // The marks move the note itself; the offset events around it stay for
  // readers that show them. A rest's marks are held to the range that a note
  // of its octave could take.
  int moved = (rest ? NaturalPitch(s, 0) : note) + marks;
  if (!CheckNoteNumber(cx, moved)) return;
  if (!rest) note = moved;
  bool ornamented = s.ornament.kind != OrnamentKind::kNone;
  if (ornamented && (rest || member || chord)) {
    cx.Fault(TextId::kNotUnderstood);
    return;
  }
  if (chord && ++s.chordCount >= kMaxChordNotes) {
    cx.Fault(TextId::kTooManyChordNotes);
    return;
  }

  s.labelPending = false;
  if (!member) CountTicks(s, ticks);
  if (marks) cx.out.Event<EventCode::kOffset>({static_cast<uint8_t>(marks)});
  if (chord) cx.out.Event<EventCode::kChordLink>();
  if (member) cx.out.ChordMember(static_cast<uint8_t>(note));
  else if (ornamented) WriteOrnamentedNote(cx, natural, note, ticks, s.transposition + marks);
  else WriteNoteEvent(cx, note, ticks, TieJoins(cx, note));
  if (marks) cx.out.Event<EventCode::kOffset>({static_cast<uint8_t>(-marks)});

  s.chordMember = chord;
  if (!chord) s.chordCount = 0;
}

void ParseTie(ParseContext& cx) {
  TrackState& s = cx.state;
  if (s.lastNoteAt && *s.lastNoteAt < cx.unit.track.size()) cx.unit.track[*s.lastNoteAt + kNoteGateAt] = kMaxGate;
  s.slurPending = true;
}

void ParseGate(ParseContext& cx) {
  int32_t gate = 0;
  if (!cx.ReadNumber(gate) || gate < 1 || gate > kMaxGate) {
    cx.Fault(TextId::kGateTimeOutOfRange);
    return;
  }
  cx.state.gate = gate;
}

}  // namespace tsy
