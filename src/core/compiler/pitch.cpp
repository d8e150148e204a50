#include "core/compiler/pitch.h"

#include <string_view>

#include "core/image/event_table.h"

namespace tsy {
namespace {

// A letter's index in this literal is its semitone position.
constexpr std::string_view kLetters = "c d ef g a b";

// Octave changes outside the range raise kOctaveOutOfRange with the octave asked for.
void SetOctave(ParseContext& cx, int octave) {
  if (octave < kMinOctave || octave > kMaxOctave) {
    cx.FaultValue(TextId::kOctaveOutOfRange, octave);
    return;
  }
  cx.state.octave = octave;
}

// The octave a note number falls in (floor division: note -1 lies in octave -2).
int OctaveOf(int note) { return (note >= 0 ? note / 12 : (note - 11) / 12) - 1; }

}  // namespace

int LetterPosition(char letter) {
  if (letter == ' ') return -1;
  size_t at = kLetters.find(letter);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int NaturalPitch(const TrackState& state, int position) { return 12 * (state.octave + 1) + position; }

int TakeKeySignature(TrackState& state, int position) {
  if (state.pendingAccidental) {
    state.keyWorking[position] = *state.pendingAccidental;
    state.pendingAccidental.reset();
  }
  return NaturalPitch(state, position) + state.keyWorking[position];
}

int ReadSigns(ParseContext& cx) {
  int semitones = 0;
  for (;;) {
    if (cx.Accept('+') || cx.Accept('#')) ++semitones;
    else if (cx.Accept('-')) --semitones;
    else return semitones;
  }
}

// Each '%' takes the key signature's accidental back off, wherever it stands in the run.
void ReadAccidentals(ParseContext& cx, int position, int& pitch) {
  pitch += ReadSigns(cx);
  while (cx.Accept('%')) pitch += ReadSigns(cx) - cx.state.keyWorking[position];
}

bool CheckNoteNumber(ParseContext& cx, int note) {
  if (note >= 0 && note <= kMaxNoteNumber) return true;
  cx.FaultValue(TextId::kOctaveOutOfRange, OctaveOf(note));
  return false;
}

void ParseOctave(ParseContext& cx) {
  bool negative = cx.Accept('-');
  int32_t octave = 0;
  if (!cx.ReadNumber(octave)) {
    cx.Fault(TextId::kNotUnderstood);
    return;
  }
  SetOctave(cx, negative ? -octave : octave);
}

void ParseOctaveDown(ParseContext& cx) { SetOctave(cx, cx.state.octave - 1); }
void ParseOctaveUp(ParseContext& cx) { SetOctave(cx, cx.state.octave + 1); }

void ParseTransposition(ParseContext& cx) {
  int semitones = 0;
  for (;;) {
    if (cx.Accept('<')) semitones -= 12;
    else if (cx.Accept('>')) semitones += 12;
    else break;
  }
  int position = LetterPosition(cx.Peek());
  if (position < 0) {
    cx.state.transposition = 0;
    cx.Fault(TextId::kBadTransposition);
    return;
  }
  ++cx.pos;
  // g, a and b transpose downward: _g is a fourth below, not a fifth above.
  semitones += position >= 7 ? position - 12 : position;
  cx.state.transposition = semitones + ReadSigns(cx);
}

bool ParseKeySignature(ParseContext& cx) {
  int position = LetterPosition(cx.Peek());
  if (position < 0) return false;
  ++cx.pos;
  const int offset = ReadSigns(cx);
  cx.Accept('%');
  cx.state.keyWorking[position] = offset;
  cx.state.keySaved[position] = offset;
  return true;
}

void ParseAccidentalCommand(ParseContext& cx, char sign) {
  if (sign == '%') {
    cx.state.pendingAccidental = 0;
    return;
  }
  int steps = 1;
  while (cx.Accept(sign)) ++steps;
  // Mixed signs (@+-) say nothing sensible.
  if (cx.Peek() == '+' || cx.Peek() == '#' || cx.Peek() == '-') {
    cx.Fault(TextId::kBadSign);
    return;
  }
  cx.state.pendingAccidental = sign == '-' ? -steps : steps;
}

void RestoreKeySignature(TrackState& state) { state.keyWorking = state.keySaved; }

}  // namespace tsy
