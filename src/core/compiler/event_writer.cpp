#include "core/compiler/event_writer.h"

namespace tsy {

bool EventWriter::Begin(size_t count) {
  const SourcePosition command = unit_.PositionAt(unit_.commandAt);
  size_t used = unit_.imageLength + unit_.track.size();
  if (used + count + kTerminator.size() > kObjectBufferSize) {
    if (used <= kImageSoftLimit && unit_.diagnostics.errorFree()) unit_.diagnostics.RaiseOverflow(command);
    return false;
  }
  unit_.trackEvents.push_back({static_cast<uint32_t>(unit_.track.size()), command});
  return true;
}

void EventWriter::Append(EventCode code, std::span<const uint8_t> operands) {
  if (!Begin(1 + operands.size())) return;
  unit_.track.push_back(static_cast<uint8_t>(code));
  unit_.track.insert(unit_.track.end(), operands.begin(), operands.end());
}

size_t EventWriter::Note(uint8_t note, uint8_t flags, uint8_t gate, uint32_t ticks) {
  size_t at = unit_.track.size();
  size_t wholes = ticks / kMaxLengthByte;
  uint32_t rest = ticks % kMaxLengthByte;
  size_t lengthBytes = wholes + (rest ? 1 : 0);
  if (!Begin(kNoteHeaderSize + lengthBytes)) return at;
  unit_.track.insert(unit_.track.end(), {note, flags, gate, static_cast<uint8_t>(lengthBytes - 1)});
  unit_.track.insert(unit_.track.end(), wholes, static_cast<uint8_t>(kMaxLengthByte));
  if (rest) unit_.track.push_back(static_cast<uint8_t>(rest));
  return at;
}

void EventWriter::ChordMember(uint8_t note) {
  if (Begin(1)) unit_.track.push_back(note);
}

void EventWriter::Comment(std::string_view text) {
  if (!Begin(text.size() + 2)) return;
  unit_.track.push_back(static_cast<uint8_t>(EventCode::kComment));
  unit_.track.insert(unit_.track.end(), text.begin(), text.end());
  unit_.track.push_back(0);
}

void EventWriter::SystemExclusive(std::string_view data) {
  if (!Begin(data.size() + 2)) return;
  unit_.track.push_back(static_cast<uint8_t>(EventCode::kSystemExclusive));
  unit_.track.push_back(static_cast<uint8_t>(data.size()));
  unit_.track.insert(unit_.track.end(), data.begin(), data.end());
}

}  // namespace tsy
