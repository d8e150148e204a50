#pragma once
// What every stage of the track parser works on: the compile unit, the track
// state, the read position in the condensed text and the event writer, with
// the small reading helpers that the grammar functions share.

#include <cstddef>
#include <cstdint>

#include "core/compiler/compile_unit.h"
#include "core/compiler/event_writer.h"
#include "core/compiler/track_state.h"

namespace tsy {

constexpr int32_t kNumberCap = 1000000;  // digit runs saturate here; every range is far below

// One written value of a command: `written` is false when no digit was there.
struct Value {
  bool written = false;
  int32_t value = 0;
};

class ParseContext {
 public:
  ParseContext(CompileUnit& unit, TrackState& state, size_t pos) : unit(unit), state(state), out(unit), pos(pos) {}

  // The character `ahead` places after the read position, folded to lower
  // case unless upper-case letters are substitution letters; 0 past the end.
  char Peek(size_t ahead = 0) const;
  // The same, as written.
  char PeekRaw(size_t ahead = 0) const;
  bool AtEnd() const { return pos >= unit.text.size(); }
  bool AtDigit() const { return IsDigit(PeekRaw()); }
  // Consumes the next character if it is `c` (after folding).
  bool Accept(char c);

  // A run of decimal digits (saturating at kNumberCap); false when none.
  bool ReadNumber(int32_t& value);
  // An unsigned value: digits or nothing.
  Value ReadUnsigned();
  // A value that may carry one sign before its digits. A sign after the
  // digits raises kBadSign, as does a sign without digits. False on a fault.
  bool ReadSigned(Value& value);

  // Raises catalogue message `id` at the read position.
  void Fault(TextId id);
  void FaultValue(TextId id, int value);
  void FaultChar(TextId id, char character);
  // False once this command has raised a fault.
  bool ok() const { return !faulted_; }

  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  CompileUnit& unit;
  TrackState& state;
  EventWriter out;
  size_t pos;  // next character to read

 private:
  bool faulted_ = false;
};

}  // namespace tsy
