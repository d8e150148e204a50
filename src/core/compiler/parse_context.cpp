#include "core/compiler/parse_context.h"

namespace tsy {

char ParseContext::PeekRaw(size_t ahead) const {
  size_t at = pos + ahead;
  return at < unit.text.size() ? unit.text[at] : '\0';
}

char ParseContext::Peek(size_t ahead) const {
  char c = PeekRaw(ahead);
  if (!state.upperCaseLetters && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return c;
}

bool ParseContext::Accept(char c) {
  if (Peek() != c) return false;
  ++pos;
  return true;
}

bool ParseContext::ReadNumber(int32_t& value) {
  if (!AtDigit()) return false;
  value = 0;
  while (AtDigit()) {
    value = value * 10 + (PeekRaw() - '0');
    if (value > kNumberCap) value = kNumberCap;
    ++pos;
  }
  return true;
}

Value ParseContext::ReadUnsigned() {
  Value v;
  v.written = ReadNumber(v.value);
  return v;
}

bool ParseContext::ReadSigned(Value& value) {
  bool negative = Peek() == '-';
  bool sign = negative || Peek() == '+';
  if (sign) ++pos;
  value.written = ReadNumber(value.value);
  if ((sign && !value.written) || (value.written && (Peek() == '+' || Peek() == '-'))) {
    Fault(TextId::kBadSign);
    return false;
  }
  if (negative) value.value = -value.value;
  return true;
}

void ParseContext::Fault(TextId id) {
  faulted_ = true;
  unit.diagnostics.Raise(id, unit.PositionAt(pos));
}

void ParseContext::FaultValue(TextId id, int value) {
  faulted_ = true;
  unit.diagnostics.RaiseValue(id, unit.PositionAt(pos), value);
}

void ParseContext::FaultChar(TextId id, char character) {
  faulted_ = true;
  unit.diagnostics.RaiseChar(id, unit.PositionAt(pos), character);
}

}  // namespace tsy
