#pragma once
// Appends events to the current track's bytes, never past the object buffer,
// and notes for each the source position of the command that wrote it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/compiler/compile_unit.h"
#include "core/image/event_table.h"

namespace tsy {

class EventWriter {
 public:
  explicit EventWriter(CompileUnit& unit) : unit_(unit) {}

  // An event code and its operand bytes, a 16-bit operand as Low and High.
  // The count must be one that the event table gives the code: the build
  // fails otherwise.
  template <EventCode code, size_t count>
  void Event(const uint8_t (&operands)[count]) {
    static_assert(TakesOperandBytes(code, count), "the event table gives this event other operands");
    Append(code, operands);
  }
  template <EventCode code>
  void Event() {
    static_assert(TakesOperandBytes(code, 0), "the event table gives this event operands");
    Append(code, {});
  }
  // A 16-bit operand's two bytes, low first, for use in an operand list.
  static constexpr uint8_t Low(uint32_t value) { return value & 0xFF; }
  static constexpr uint8_t High(uint32_t value) { return (value >> 8) & 0xFF; }

  // A full note event of `ticks` (1..kMaxNoteTicks); returns its offset in the track.
  size_t Note(uint8_t note, uint8_t flags, uint8_t gate, uint32_t ticks);
  // A chord member: the note number alone.
  void ChordMember(uint8_t note);
  // The comment event: code, text, NUL.
  void Comment(std::string_view text);
  // The system-exclusive event: code, count, data.
  void SystemExclusive(std::string_view data);

  size_t size() const { return unit_.track.size(); }

 private:
  // True when an event of `count` bytes leaves room for the terminator
  // within the object buffer; the event about to be written is then noted
  // with the position of the command being compiled. A refused write is
  // reported as the size-limit fault here only when the driver's own check
  // after the command would not see it.
  bool Begin(size_t count);
  void Append(EventCode code, std::span<const uint8_t> operands);

  CompileUnit& unit_;
};

}  // namespace tsy
