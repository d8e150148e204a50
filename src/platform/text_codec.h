#pragma once
// Conversions between the program's own text (CP932 bytes, as the compiler and
// the object image hold it) and UTF-8 (the terminal, the windows, the tables).

#include <string>
#include <string_view>

namespace tsy {

// CP932 bytes to UTF-8. A byte sequence that is not CP932 becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932. A character with no CP932 form becomes "?".
std::string Utf8ToCp932(std::string_view utf8);

// True when `bytes` is well-formed UTF-8 and holds at least one multi-byte
// character: such a source was written in UTF-8, not in CP932.
bool LooksLikeUtf8(std::string_view bytes);

// True when `byte` opens a double-byte CP932 character.
constexpr bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace tsy
