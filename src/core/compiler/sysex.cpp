#include "core/compiler/sysex.h"

#include <string>

#include "core/image/event_table.h"

namespace tsy {
namespace {

// The value of a hexadecimal digit in either case, or -1.
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsLetter(char c, char lower) { return c == lower || c == lower - 'a' + 'A'; }

// The bytes collected so far and the running sum for the checksum.
struct Collector {
  std::string data;
  unsigned sum = 0;

  // False when the event is already full.
  bool Put(uint8_t byte) {
    if (data.size() == kMaxSysexLength) return false;
    data.push_back(static_cast<char>(byte));
    sum += byte;
    return true;
  }
  uint8_t Checksum() const { return static_cast<uint8_t>((128 - sum % 128) % 128); }
};

// A 'cs' or 'ss' field at the read position: the two letters and then the field's end.
char MarkerAt(const ParseContext& cx) {
  char first = cx.PeekRaw();
  bool marker = (IsLetter(first, 'c') || IsLetter(first, 's')) && IsLetter(cx.PeekRaw(1), 's') &&
                (cx.PeekRaw(2) == ',' || cx.PeekRaw(2) == '}');
  return marker ? static_cast<char>(IsLetter(first, 'c') ? 'c' : 's') : '\0';
}

}  // namespace

void ParseSystemExclusive(ParseContext& cx) {
  if (cx.PeekRaw() != '{') return;
  ++cx.pos;
  Collector bytes;
  int field = 0;
  bool digits = false;
  // Puts one byte; a 128th byte is refused with the character that brought it.
  auto put = [&](uint8_t byte, char at) {
    if (bytes.Put(byte)) return true;
    cx.FaultChar(TextId::kSysExBadCharacter, at);
    return false;
  };
  for (;;) {
    char c = cx.PeekRaw();
    if (cx.AtEnd()) {
      cx.Fault(TextId::kNotUnderstood);
      return;
    }
    if (!digits && MarkerAt(cx)) {
      if (MarkerAt(cx) == 'c') bytes.sum = 0;
      else if (!put(bytes.Checksum(), c)) return;
      cx.pos += 2;
    } else if (HexValue(c) >= 0) {
      field = ((field << 4) | HexValue(c)) & 0xFF;
      digits = true;
      ++cx.pos;
    } else if (c == '"') {
      size_t close = cx.unit.text.Find('"', cx.pos + 1);
      if (close == CondensedText::npos) {
        cx.Fault(TextId::kNotUnderstood);
        return;
      }
      for (++cx.pos; cx.pos < close; ++cx.pos)
        if (!put(static_cast<uint8_t>(cx.PeekRaw()), c)) return;
      ++cx.pos;
    } else if (c == ',' || c == '}') {
      if (digits && !put(static_cast<uint8_t>(field), c)) return;
      field = 0;
      digits = false;
      ++cx.pos;
      if (c == '}') break;
    } else {
      cx.FaultChar(TextId::kSysExBadCharacter, c);
      return;
    }
  }
  if (bytes.data.empty() || bytes.data[0] == 0) {
    cx.Fault(TextId::kSysExFirstByteNull);
    return;
  }
  cx.out.SystemExclusive(bytes.data);
}

}  // namespace tsy
