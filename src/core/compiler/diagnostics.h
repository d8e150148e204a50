#pragma once
// The compiler's message text: diagnostics and the compile summary, in CP932,
// accumulated in one text that never grows beyond 1,023 bytes (whatever an
// append would add beyond that is lost), and the error-free flag. Every
// diagnostic is also kept whole in a list with its source line, so that
// callers can point at the line even when the message text is full.

#include <cstdint>
#include <string>
#include <vector>

#include "resources/text_id.h"

namespace tsy {

// One diagnostic as raised: its catalogue number, the source line (from 1)
// and its text in CP932 without the line prefix and the closing line feed.
struct DiagnosticRecord {
  TextId id{};
  uint32_t line = 0;
  std::string text;
};

class Diagnostics {
 public:
  static constexpr size_t kMaxTextBytes = 1023;  // the platform formatter's output limit

  // Empties the text and the list and sets the error-free flag: the start of a compile.
  void Clear();

  // Raises catalogue message `id` found at source line `line`: the line
  // prefix "\nLine.%4d: ", then the catalogue text; clears the error-free flag.
  void Raise(TextId id, uint32_t line);
  // The same for texts with a "%d" (the value) or a "%c" (the character) placeholder.
  void RaiseValue(TextId id, uint32_t line, int value);
  void RaiseChar(TextId id, uint32_t line, char character);
  // The size-limit message, which carries no line prefix in the text; `line`
  // (the command that overflowed) goes only into the list.
  void RaiseOverflow(uint32_t line = 0);

  // Appends printf-formatted CP932 text (the compile summary), cut at the limit.
  void Append(const char* format, ...) __attribute__((format(printf, 2, 3)));

  bool errorFree() const { return errorFree_; }
  const std::string& text() const { return text_; }  // CP932 bytes
  const std::vector<DiagnosticRecord>& records() const { return records_; }

 private:
  void AppendLinePrefix(uint32_t line);
  void AppendCatalogue(TextId id, uint32_t line, const std::string& message);
  void AppendBytes(const std::string& bytes);

  std::string text_;
  std::vector<DiagnosticRecord> records_;
  bool errorFree_ = true;
};

}  // namespace tsy
