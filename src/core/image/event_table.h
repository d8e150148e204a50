#pragma once
// The byte format of a track stream, defined once. The compiler's writer, the
// disassembler of `tsy dump` and the engine's reader all take event codes,
// sizes and names from here.
//
// A stream is a run of events; each starts with one byte: 0x00..0x7F a note
// event, 0x80..0xFE an event code from kEventTable. Any byte that the table
// does not list (0xFF included) ends the track; the compiler ends every stream
// with kTerminator. Multi-byte operands are little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tsy {

// ---------------------------------------------------------------- note events

// Note event: note, flags, gate, n, then n + 1 length bytes.
constexpr size_t kNoteFlagsAt = 1;
constexpr size_t kNoteGateAt = 2;
constexpr size_t kNoteCountAt = 3;     // number of length bytes - 1
constexpr size_t kNoteLengthsAt = 4;   // first length byte
constexpr size_t kNoteHeaderSize = 4;  // full size = 4 + (n + 1) length bytes

constexpr uint8_t kMaxNoteNumber = 126;  // highest sounding note
constexpr uint8_t kRestNote = 127;       // note number of a rest
constexpr uint8_t kFirstEventCode = 0x80;

// Note flags.
constexpr uint8_t kNoteAttack = 0x01;   // note-on at the start
constexpr uint8_t kNoteRelease = 0x02;  // note-off when the gate expires
constexpr uint8_t kNoteSlurred = 0x04;  // joined to the previous note

constexpr uint8_t kMaxGate = 8;                                       // gate in eighths of the length: 1..8
constexpr uint32_t kMaxLengthByte = 192;                              // one length byte holds at most a whole note
constexpr size_t kMaxLengthBytes = 256;                               // n is one byte: at most 256 length bytes
constexpr uint32_t kMaxNoteTicks = kMaxLengthByte * kMaxLengthBytes;  // longest one note event

// ---------------------------------------------------------------- event codes

enum class EventCode : uint8_t {
  kControlChange = 0xB0,    // B0 c v: control change c = v
  kControllerRamp = 0xB3,   // B3 len:u16 0 c from to: controller c ramps over len ticks
  kPortamento = 0xB5,       // B5 len:u16 i:s8: the next note glides up i semitones over len ticks
  kProgramChange = 0xC0,    // C0 p
  kVelocity = 0xC1,         // C1 v: velocity of later notes
  kTrackVolume = 0xC2,      // C2 v: controller 7
  kRelativeChange = 0xC3,   // C3 sel d:s8: velocity (sel 0) or expression (sel 1) += d
  kOffset = 0xC4,           // C4 sel d:s8: velocity/expression offset := d; C4 s:s8 octave mark
  kPan = 0xC5,              // C5 p: controller 10
  kDetune = 0xC6,           // C6 v:u16: fine tuning, detune + 8192
  kExpression = 0xC7,       // C7 u: controller 11
  kChannel = 0xE0,          // E0 c: the track's channel becomes c (0..15)
  kTrackTag = 0xE1,         // E1 t: display keyboard of the track (1..6, 0 none)
  kRepeatStart = 0xE8,      // E8 01 00 d: repeat start at nesting depth d
  kRepeatEnd = 0xE9,        // E9 d n: the body since E8 01 00 d runs n times in all
  kLabel = 0xEA,            // EA n
  kJump = 0xEB,             // EB n: continue after the first EA n of the track
  kNoOutput = 0xEE,         // EE: disarms bar-line synchronisation
  kBarLine = 0xEF,          // EF: synchronisation point of all tracks
  kTempo = 0xF0,            // F0 t:u16: quarter notes per minute
  kChannelFlag = 0xF8,      // F8 x: set (bit 7) or clear channel flag bit x & 31
  kComment = 0xFA,          // FA text 00
  kRestartStop = 0xFC,      // FC k: 0 restart the piece, 1 stop
  kChordLink = 0xFD,        // FD: the next note shares this tick
  kSystemExclusive = 0xFE,  // FE n data...: n (1..127) bytes, start and end bytes included
};

// How a reader finds an event's size.
enum class SizeRule : uint8_t {
  kFixed,     // always `size` bytes
  kSelector,  // `size` bytes when the selector byte is 0 or 1, else 2 (code and selector)
  kText,      // code, text, NUL
  kCounted,   // code, n, n data bytes
};

struct EventInfo {
  EventCode code;
  SizeRule rule;
  uint8_t size;  // whole event in bytes for kFixed and kSelector
  std::string_view name;
};

// ORDER EventCode: one row per code, in increasing code order.
inline constexpr EventInfo kEventTable[] = {
    {EventCode::kControlChange, SizeRule::kFixed, 3, "control"},
    {EventCode::kControllerRamp, SizeRule::kFixed, 7, "ramp"},
    {EventCode::kPortamento, SizeRule::kFixed, 4, "portamento"},
    {EventCode::kProgramChange, SizeRule::kFixed, 2, "program"},
    {EventCode::kVelocity, SizeRule::kFixed, 2, "velocity"},
    {EventCode::kTrackVolume, SizeRule::kFixed, 2, "volume"},
    {EventCode::kRelativeChange, SizeRule::kSelector, 3, "relative"},
    {EventCode::kOffset, SizeRule::kSelector, 3, "offset"},
    {EventCode::kPan, SizeRule::kFixed, 2, "pan"},
    {EventCode::kDetune, SizeRule::kFixed, 3, "detune"},
    {EventCode::kExpression, SizeRule::kFixed, 2, "expression"},
    {EventCode::kChannel, SizeRule::kFixed, 2, "channel"},
    {EventCode::kTrackTag, SizeRule::kFixed, 2, "keyboard"},
    {EventCode::kRepeatStart, SizeRule::kFixed, 4, "repeat"},
    {EventCode::kRepeatEnd, SizeRule::kFixed, 3, "repeat-end"},
    {EventCode::kLabel, SizeRule::kFixed, 2, "label"},
    {EventCode::kJump, SizeRule::kFixed, 2, "jump"},
    {EventCode::kNoOutput, SizeRule::kFixed, 1, "noout"},
    {EventCode::kBarLine, SizeRule::kFixed, 1, "bar"},
    {EventCode::kTempo, SizeRule::kFixed, 3, "tempo"},
    {EventCode::kChannelFlag, SizeRule::kFixed, 2, "channel-flag"},
    {EventCode::kComment, SizeRule::kText, 0, "comment"},
    {EventCode::kRestartStop, SizeRule::kFixed, 2, "restart-stop"},
    {EventCode::kChordLink, SizeRule::kFixed, 1, "chord"},
    {EventCode::kSystemExclusive, SizeRule::kCounted, 0, "sysex"},
};

constexpr bool EventTableIsOrdered() {
  for (size_t i = 1; i < std::size(kEventTable); ++i)
    if (kEventTable[i - 1].code >= kEventTable[i].code) return false;
  return true;
}
static_assert(EventTableIsOrdered(), "kEventTable must list each EventCode once, in code order");
static_assert(std::size(kEventTable) == 25, "one kEventTable row per EventCode");

// The row of every code byte in kEventTable, or -1: the play thread looks
// up each event it decodes, so this is one index, not a search.
inline constexpr std::array<int8_t, 256> kEventRows = [] {
  std::array<int8_t, 256> rows{};
  rows.fill(-1);
  for (size_t i = 0; i < std::size(kEventTable); ++i)
    rows[static_cast<uint8_t>(kEventTable[i].code)] = static_cast<int8_t>(i);
  return rows;
}();

// The table row of `code`, or nullptr when the code ends the track.
constexpr const EventInfo* FindEvent(uint8_t code) {
  const int row = kEventRows[code];
  return row < 0 ? nullptr : &kEventTable[row];
}

constexpr const EventInfo& EventOf(EventCode code) { return *FindEvent(static_cast<uint8_t>(code)); }

// ---------------------------------------------------------------- operands

constexpr uint8_t kSelectVelocity = 0;      // C3/C4 selector
constexpr uint8_t kSelectExpression = 1;    // C3/C4 selector
constexpr uint8_t kRestart = 0;             // FC operand
constexpr uint8_t kStop = 1;                // FC operand
constexpr uint8_t kToneNamesFirst = 0x00;   // F8 operand of @eqn
constexpr uint8_t kToneNamesSecond = 0x80;  // F8 operand of @eqd
constexpr int32_t kDetuneCentre = 8192;     // C6 operand = detune + centre
constexpr size_t kMaxCommentLength = 80;    // FA text, NUL not counted
constexpr size_t kMaxSysexLength = 127;     // FE data bytes

// The repeat start is found again at play time by these bytes and its depth.
inline constexpr std::array<uint8_t, 3> kRepeatStartPrefix = {0xE8, 0x01, 0x00};

// Ends every stream; a jump's label search stops at all four bytes.
inline constexpr std::array<uint8_t, 4> kTerminator = {0xFF, 0xFF, 0xFF, 0x2E};

// ---------------------------------------------------------------- reading

// Tracks whether the next note of a stream is a chord member (its note number
// alone). A chord link (FD) before a note makes the notes after it members
// until a note is read that no chord link preceded: c4/e/g is FD c FD e g.
struct ChordReader {
  bool chainPending = false;  // a chord link since the last note
  bool inChord = false;       // the next note is a one-byte member

  bool NextNoteIsMember() const { return inChord; }
  void OnChordLink() { chainPending = true; }
  void OnNote() {
    inChord = chainPending;
    chainPending = false;
  }
};

// Size in bytes of the event at `bytes` (with `available` bytes readable from
// there), or 0 when it is incomplete or its code ends the track. A note is one
// byte when `chordMember` says so (see ChordReader).
constexpr size_t EventSize(const uint8_t* bytes, size_t available, bool chordMember) {
  if (available == 0) return 0;
  uint8_t first = bytes[0];
  size_t size = 0;
  if (first < kFirstEventCode) {
    if (chordMember) return 1;
    if (available <= kNoteCountAt) return 0;
    size = kNoteHeaderSize + bytes[kNoteCountAt] + 1;
  } else {
    const EventInfo* info = FindEvent(first);
    if (!info) return 0;
    switch (info->rule) {
      case SizeRule::kFixed: size = info->size; break;
      case SizeRule::kSelector:
        if (available < 2) return 0;
        size = bytes[1] <= kSelectExpression ? info->size : 2;
        break;
      case SizeRule::kText:
        for (size_t i = 1; i < available; ++i)
          if (bytes[i] == 0) return i + 1;
        return 0;
      case SizeRule::kCounted:
        if (available < 2) return 0;
        size = 2 + size_t{bytes[1]};
        break;
    }
  }
  return size <= available ? size : 0;
}

}  // namespace tsy
