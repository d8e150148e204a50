#include "core/compiler/portamento.h"

#include "core/compiler/groups.h"
#include "core/compiler/lengths.h"
#include "core/compiler/notes.h"
#include "core/compiler/pitch.h"
#include "core/compiler/structure.h"
#include "core/image/event_table.h"

namespace tsy {
namespace {

constexpr int64_t kMaxGlideTicks = 0xFFFF;  // the glide time is 16 bits in its event

// octaves letter accidentals: one of the two notes, computed like a note.
// Returns false after a fault.
bool ReadPortamentoNote(ParseContext& cx, int& note) {
  TrackState& s = cx.state;
  for (;;) {
    if (cx.Accept('<')) {
      if (s.octave == kMinOctave) {
        cx.Fault(TextId::kOctaveDownOutOfRange);
        return false;
      }
      --s.octave;
    } else if (cx.Accept('>')) {
      if (s.octave == kMaxOctave) {
        cx.Fault(TextId::kOctaveUpOutOfRange);
        return false;
      }
      ++s.octave;
    } else {
      break;
    }
  }
  int position = LetterPosition(cx.Peek());
  if (position < 0) {
    cx.Fault(TextId::kNotUnderstood);
    return false;
  }
  ++cx.pos;
  note = TakeKeySignature(s, position);
  ReadAccidentals(cx, position, note);
  note += s.transposition;
  return CheckNoteNumber(cx, note);
}

}  // namespace

void ParsePortamento(ParseContext& cx) {
  TrackState& s = cx.state;
  if (s.ornament.kind != OrnamentKind::kNone) {
    cx.Fault(TextId::kNotUnderstood);
    return;
  }
  Length glide = ReadLength(cx);
  if (!glide.ok) return;
  int from = 0;
  int to = 0;
  if (!ReadPortamentoNote(cx, from) || !ReadPortamentoNote(cx, to)) return;

  int64_t ticks = 0;
  if (GroupShareDue(s)) {
    ticks = NextGroupShare(s);
  } else {
    Length length = ReadLength(cx);
    if (!length.ok) {
      cx.Fault(TextId::kResolutionOutOfRange);  // the faulty expression leaves no length
      return;
    }
    ticks = length.ticks;
  }
  if (!CheckNoteTicks(cx, ticks)) return;
  int64_t glideTicks = glide.written ? glide.ticks : ticks;
  if (glideTicks < 1 || glideTicks > kMaxGlideTicks) {
    cx.Fault(TextId::kResolutionOutOfRange);
    return;
  }

  bool joins = TieJoins(cx, from) && ticks >= glideTicks;
  s.labelPending = false;
  CountTicks(s, ticks);
  uint32_t time = static_cast<uint32_t>(glideTicks);
  cx.out.Event<EventCode::kPortamento>(
      {EventWriter::Low(time), EventWriter::High(time), static_cast<uint8_t>(to - from)});
  WriteNoteEvent(cx, to, ticks, joins);
}

}  // namespace tsy
