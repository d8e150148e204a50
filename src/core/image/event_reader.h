#pragma once
// Reading a track stream event by event, as the engine and `tsy dump` do:
// the size of the event at hand, whether a note is a chord member, and the
// values of an event's operands, all from the event table.

#include <cstddef>
#include <cstdint>

#include "core/image/event_table.h"
#include "core/image/image_layout.h"

namespace tsy {

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

// The value of an operand of `type` whose first byte is at `at`: signed
// where the type is, the centred value of kCentred16, else the bytes as they stand.
constexpr int32_t OperandValue(OperandType type, const uint8_t* at) {
  switch (type) {
    case OperandType::kS8: return static_cast<int8_t>(at[0]);
    case OperandType::kU16: return ReadU16(at);
    case OperandType::kCentred16: return ReadU16(at) - kDetuneCentre;
    default: return at[0];
  }
}

}  // namespace tsy
