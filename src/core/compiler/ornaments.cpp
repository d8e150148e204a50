#include "core/compiler/ornaments.h"

#include <array>
#include <vector>

#include "core/compiler/lengths.h"
#include "core/compiler/notes.h"
#include "core/compiler/pitch.h"

namespace tsy {
namespace {

// Semitones to the neighbour notes of a natural note, by its position c..b.
constexpr std::array<int, 12> kUpperStep = {2, 0, 2, 0, 1, 2, 0, 2, 0, 2, 0, 1};
constexpr std::array<int, 12> kLowerStep = {-1, 0, -2, 0, -2, -1, 0, -2, 0, -2, 0, -2};

int PitchClass(int pitch) { return (pitch % 12 + 12) % 12; }

// The neighbour `step` semitones from the natural note, under the working key
// signature, moved by the ornament's signs and the main note's `shift`.
int Neighbour(const ParseContext& cx, int natural, int step, int accidental, int shift) {
  int pitch = natural + step;
  return pitch + cx.state.keyWorking[PitchClass(pitch)] + accidental + shift;
}

// The ornament notes in order; `remaining` ends as the main note's share.
struct Expansion {
  std::vector<int> notes;
  int64_t remaining;
  int64_t noteTicks;

  void Put(int note) {
    notes.push_back(note);
    remaining -= noteTicks;
  }
  int64_t Quotient() const { return remaining / noteTicks; }
};

// Main and upper (or another pair) in turn, starting with the first.
struct Alternation {
  int first, second;
  bool secondNext = false;
  int Next() {
    int note = secondNext ? second : first;
    secondNext = !secondNext;
    return note;
  }
};

Expansion Expand(OrnamentKind kind, int main, int upper, int lower, int64_t ticks, int64_t noteTicks) {
  Expansion e{{}, ticks, noteTicks};
  Alternation alternation{main, upper};
  switch (kind) {
    case OrnamentKind::kTrn:
      for (int note : {upper, main, lower}) e.Put(note);
      break;
    case OrnamentKind::kXtrn:
      for (int note : {lower, main, upper}) e.Put(note);
      break;
    case OrnamentKind::kMor:
      for (int note : {main, upper}) e.Put(note);
      break;
    case OrnamentKind::kXmor:
      for (int note : {main, lower}) e.Put(note);
      break;
    case OrnamentKind::kCad:
      e.Put(lower);
      while (e.Quotient() > 1) e.Put(alternation.Next());
      break;
    case OrnamentKind::kXcad:
      e.Put(lower);
      while (e.Quotient() > 2) e.Put(alternation.Next());
      if (e.Quotient() > 1) e.Put(lower);
      break;
    case OrnamentKind::kIdm:
    case OrnamentKind::kXidm: {
      int k = kind == OrnamentKind::kIdm ? 1 : 2;
      e.Put(upper);
      if (e.Quotient() >= k) e.Put(main);
      if (e.Quotient() >= k) e.Put(lower);
      while (e.Quotient() > k) e.Put(alternation.Next());
      if (kind == OrnamentKind::kXidm && e.Quotient() > 1) e.Put(lower);
      break;
    }
    case OrnamentKind::kTri:
      while (e.remaining >= noteTicks) e.Put(alternation.Next());
      break;
    case OrnamentKind::kNone: break;
  }
  return e;
}

}  // namespace

void ParseOrnament(ParseContext& cx, OrnamentKind kind) {
  const int accidental = ReadSigns(cx);
  Length length = ReadLength(cx);
  if (!length.ok) return;
  int64_t ticks = length.written ? length.ticks : cx.state.ornamentTicks;
  if (!CheckNoteTicks(cx, ticks)) return;
  cx.state.ornament = {kind, accidental, static_cast<int32_t>(ticks)};
}

void ParseOrnamentLength(ParseContext& cx) {
  Length length = ReadLength(cx);
  if (!length.ok) return;
  int64_t ticks = length.written ? length.ticks : TicksOf(cx.state.defaultLength);
  if (!CheckNoteTicks(cx, ticks)) return;
  cx.state.ornamentTicks = static_cast<int32_t>(ticks);
}

void WriteOrnamentedNote(ParseContext& cx, int natural, int main, int64_t ticks, int shift) {
  const Ornament ornament = cx.state.ornament;
  cx.state.ornament = Ornament{};
  int position = PitchClass(natural);
  int upper = Neighbour(cx, natural, kUpperStep[position], ornament.accidental, shift);
  int lower = Neighbour(cx, natural, kLowerStep[position], ornament.accidental, shift);
  Expansion e = Expand(ornament.kind, main, upper, lower, ticks, ornament.noteTicks);

  bool trill = ornament.kind == OrnamentKind::kTri;
  if (trill ? e.notes.empty() : e.remaining < 1) {
    cx.Fault(TextId::kOrnamentLeavesNoLength);
    return;
  }
  for (int note : e.notes)
    if (!CheckNoteNumber(cx, note)) return;

  for (size_t i = 0; i < e.notes.size(); ++i) {
    int64_t noteTicks = e.noteTicks;
    // The trill has no closing main note: its last note keeps what is left,
    // so the track still lasts as long as it counts.
    if (trill && i + 1 == e.notes.size()) noteTicks += e.remaining;
    WriteNoteEvent(cx, e.notes[i], noteTicks, TieJoins(cx, e.notes[i]));
  }
  if (!trill) WriteNoteEvent(cx, main, e.remaining, false);
}

}  // namespace tsy
