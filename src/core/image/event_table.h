#pragma once
// The byte format of a track stream, defined once: the list of events in
// event_list.h gives each event code its enumerator, its row in kEventTable
// (size rule, name, operand layout) and so everything that the compiler's
// writer, the engine's reader and `tsy dump` know of it.
//
// A stream is a run of events; each starts with one byte: 0x00..0x7F a note
// event, 0x80..0xFE an event code from kEventTable. Any byte that the table
// does not list (0xFF included) ends the track; the compiler ends every stream
// with kTerminator. Multi-byte operands are little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
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
#define EVENT(id, code, ...) id = code,
#include "core/image/event_list.h"
#undef EVENT
};

// What an operand holds, and so how wide it is and how it is read.
enum class OperandType : uint8_t {
  kNone,        // ends a row's operand list
  kU8,          // unsigned byte
  kS8,          // signed byte
  kU16,         // unsigned 16-bit
  kCentred16,   // unsigned 16-bit holding a value + kDetuneCentre (0..16383 for -8192..8191)
  kSelector,    // 0 velocity, 1 expression; another value is an event of code and selector alone
  kFlagChange,  // bit 7 set (else clear) the channel flag numbered by bits 0..4
  kReserved,    // a byte of fixed value that no reader looks at
};

struct Operand {
  constexpr Operand(OperandType type = OperandType::kNone, std::string_view name = {}) : type(type), name(name) {}

  OperandType type;
  std::string_view name;  // written before the value in a listing; "" for none
};

constexpr size_t kMaxOperands = 5;

// How a reader finds an event's size.
enum class SizeRule : uint8_t {
  kFixed,     // the code and its operands
  kSelector,  // the code and its operands when the selector (the first) is 0 or 1, else code and selector
  kText,      // code, text, NUL
  kCounted,   // code, n, n data bytes
};

struct EventInfo {
  EventCode code;
  SizeRule rule;
  std::string_view name;
  std::array<Operand, kMaxOperands> operands;  // in byte order; the first kNone ends them
  uint8_t operandCount;                        // listed operands
  uint8_t size;                                // bytes of the code and the listed operands: a fixed event whole
};

constexpr size_t OperandWidth(OperandType type) {
  switch (type) {
    case OperandType::kNone: return 0;
    case OperandType::kU16:
    case OperandType::kCentred16: return 2;
    default: return 1;
  }
}

// A row of kEventTable from a line of the event list.
constexpr EventInfo MakeEvent(EventCode code, SizeRule rule, std::string_view name,
                              std::array<Operand, kMaxOperands> operands) {
  uint8_t count = 0;
  uint8_t size = 1;
  for (const Operand& operand : operands) {
    if (operand.type == OperandType::kNone) break;
    ++count;
    size += static_cast<uint8_t>(OperandWidth(operand.type));
  }
  return {code, rule, name, operands, count, size};
}

namespace event_list {
using enum OperandType;
inline constexpr EventInfo kRows[] = {
#define EVENT(id, code, rule, name, ...) MakeEvent(EventCode::id, SizeRule::rule, name, {{__VA_ARGS__}}),
#include "core/image/event_list.h"
#undef EVENT
};
}  // namespace event_list

// One row per EventCode, in increasing code order.
inline constexpr const auto& kEventTable = event_list::kRows;

constexpr bool EventTableIsOrdered() {
  for (size_t i = 1; i < std::size(kEventTable); ++i)
    if (kEventTable[i - 1].code >= kEventTable[i].code) return false;
  return true;
}
static_assert(EventTableIsOrdered(), "the event list must name each code once, in code order");

// The row of every code byte in kEventTable, or -1: the play thread looks
// up each event it decodes, so this is one index, not a search.
inline constexpr std::array<int16_t, 256> kEventRows = [] {
  std::array<int16_t, 256> rows{};
  rows.fill(-1);
  for (size_t i = 0; i < std::size(kEventTable); ++i)
    rows[static_cast<uint8_t>(kEventTable[i].code)] = static_cast<int16_t>(i);
  return rows;
}();

// The table row of `code`, or nullptr when the code ends the track.
constexpr const EventInfo* FindEvent(uint8_t code) {
  const int row = kEventRows[code];
  return row < 0 ? nullptr : &kEventTable[row];
}

constexpr const EventInfo& EventOf(EventCode code) { return *FindEvent(static_cast<uint8_t>(code)); }

// The operands that `info` lists, in byte order.
constexpr std::span<const Operand> OperandsOf(const EventInfo& info) {
  return std::span(info.operands).first(info.operandCount);
}

// Whether an event of `code` is written with `count` operand bytes after its
// code: all of its operands, or for a selector event the selector alone.
// Text and counted events are written by their own writers.
constexpr bool TakesOperandBytes(EventCode code, size_t count) {
  const EventInfo& info = EventOf(code);
  switch (info.rule) {
    case SizeRule::kFixed: return count + 1 == info.size;
    case SizeRule::kSelector: return count + 1 == info.size || count == 1;
    default: return false;
  }
}

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

}  // namespace tsy
