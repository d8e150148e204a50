#pragma once
// The track parser's per-track state. A default-constructed TrackState is the
// state at the start of every track pass.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tsy {

constexpr int kMinOctave = -1;
constexpr int kMaxOctave = 8;
constexpr size_t kMaxDefaultTerms = 256;  // terms of the `l` list
constexpr int kMaxRepeatDepth = 255;      // the depth is one byte of the repeat events
constexpr int kMaxChordNotes = 12;

// One term of a length: 192 / denominator ticks, added or subtracted.
struct LengthTerm {
  int32_t denominator = 4;
  bool subtracted = false;
};

enum class OrnamentKind : uint8_t { kNone, kTrn, kXtrn, kMor, kXmor, kCad, kXcad, kIdm, kXidm, kTri };

struct Ornament {
  OrnamentKind kind = OrnamentKind::kNone;
  int accidental = 0;     // extra semitones of the auxiliary notes
  int32_t noteTicks = 0;  // length of each ornament note
};

// An equal-division group `{...}n` from its opening to its closing brace.
struct Group {
  bool open = false;
  int remaining = 0;  // notes still to receive a share
  float share = 0;    // ticks per note, exact
  float carry = 0;    // fractions of ticks carried from note to note
};

struct TrackState {
  int octave = 3;
  std::vector<LengthTerm> defaultLength{LengthTerm{}};  // the `l` list
  int gate = 7;                                         // eighths of a note's length
  std::array<int, 12> keyWorking{};                     // semitone offset per note position
  std::array<int, 12> keySaved{};                       // restored into keyWorking at every bar line
  std::optional<int> pendingAccidental;                 // set by @+ @# @- @%, taken by the next note letter
  int transposition = 0;                                // semitones
  Ornament ornament;                                    // applied to the next note
  int32_t ornamentTicks = 6;                            // default ornament note length, set by @trs

  bool slurPending = false;          // a tie or slur mark waits for the next note
  bool chordMember = false;          // the next note is a one-byte chord member
  int chordCount = 0;                // chord links written for the current chord
  std::optional<size_t> lastNoteAt;  // offset in the track of the most recent full note event

  Group group;

  int repeatDepth = 0;
  std::array<uint64_t, kMaxRepeatDepth + 1> repeatTicks{};  // ticks of each open repeat body
  uint64_t totalTicks = 0;                                  // ticks outside repeats, closed repeats multiplied out

  bool slurMode = false;          // @si: every note event has gate 8
  bool upperCaseLetters = false;  // @ql: upper-case letters are substitution letters
  bool skipRest = false;          // @xasm
  bool labelPending = false;      // @label with no note, rest or portamento after it yet
};

}  // namespace tsy
