#pragma once
// Pitch: note letters, octave, transposition, key signature and the pending
// accidental, and the range of a note number.

#include "core/compiler/parse_context.h"

namespace tsy {

// The semitone position of a note letter (c 0 .. b 11), or -1 for another character.
int LetterPosition(char letter);

// 12 x (octave + 1) + the letter's position: c of the default octave is 48.
int NaturalPitch(const TrackState& state, int position);

// The pitch of note letter `position` before its own accidentals: the pending
// accidental (if any) is taken into the working key signature first.
int TakeKeySignature(TrackState& state, int position);

// signs -> {'+' | '#' | '-'}: a semitone up or down each; returns their sum.
int ReadSigns(ParseContext& cx);

// accidentals -> {'+' | '#' | '-' | '%'}: added to `pitch` for the letter at `position`.
void ReadAccidentals(ParseContext& cx, int position, int& pitch);

// A note number must be 0..kMaxNoteNumber; else kOctaveOutOfRange with the octave it would lie in.
bool CheckNoteNumber(ParseContext& cx, int note);

// octave -> 'o' ['-'] digits | '<' | '>'
void ParseOctave(ParseContext& cx);
void ParseOctaveDown(ParseContext& cx);
void ParseOctaveUp(ParseContext& cx);

// transposition -> '_' {'<' | '>'} letter {'+' | '#' | '-'}
void ParseTransposition(ParseContext& cx);

// key signature -> '@_' letter {'+' | '#' | '-'} ['%']; false when no letter follows.
bool ParseKeySignature(ParseContext& cx);
// pending accidental -> '@+'... | '@#'... | '@-'... | '@%'; `sign` is the character after '@'.
void ParseAccidentalCommand(ParseContext& cx, char sign);
// At a bar line the accidentals set by the '@' accidental commands end.
void RestoreKeySignature(TrackState& state);

}  // namespace tsy
