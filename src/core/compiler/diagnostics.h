#pragma once
// The compiler's message text: diagnostics and the compile summary, in CP932,
// accumulated in one text that never grows beyond 1,023 bytes (whatever an
// append would add beyond that is lost), and the error-free flag. Every
// diagnostic is also kept whole in a list with its source position and
// track, so that callers (the stderr lines of tsy, editors) can point at the
// character even when the message text is full.

#include <cstdint>
#include <string>
#include <vector>

#include "core/compiler/source_position.h"
#include "resources/text_id.h"

namespace tsy {

// One diagnostic as raised: its catalogue number, where it was raised, and
// its text in CP932 without the line prefix and the closing line feed.
struct DiagnosticRecord {
  TextId id{};
  std::string file;   // the source's path as CompileFile was given it; empty for CompileSource
  int track = 0;      // the track pass (1..48) that raised it
  SourcePosition at;  // the character at which it was raised, whose line the prefix names
  std::string text;
};

class Diagnostics {
 public:
  static constexpr size_t kMaxTextBytes = 1023;  // the platform formatter's output limit

  // Empties the text and the list and sets the error-free flag: the start of a compile.
  void Clear();
  // The pass for `track` starts: the diagnostics raised from now on are its.
  void BeginTrack(int track) { track_ = track; }

  // Raises catalogue message `id` found at `at`: the line prefix
  // "\nLine.%4d: " with its line, then the catalogue text; clears the
  // error-free flag.
  void Raise(TextId id, SourcePosition at);
  // The same for texts with a "%d" (the value) or a "%c" (the character) placeholder.
  void RaiseValue(TextId id, SourcePosition at, int value);
  void RaiseChar(TextId id, SourcePosition at, char character);
  // The size-limit message, which carries no line prefix in the text; `at`
  // (where the overflow was found) goes only into the list.
  void RaiseOverflow(SourcePosition at);

  // Appends printf-formatted CP932 text (the compile summary), cut at the limit.
  void Append(const char* format, ...) __attribute__((format(printf, 2, 3)));

  bool errorFree() const { return errorFree_; }
  const std::string& text() const { return text_; }  // CP932 bytes
  const std::vector<DiagnosticRecord>& records() const { return records_; }

 private:
  void AppendLinePrefix(uint32_t line);
  void AppendCatalogue(TextId id, SourcePosition at, const std::string& message);
  void AppendBytes(const std::string& bytes);

  std::string text_;
  std::vector<DiagnosticRecord> records_;
  bool errorFree_ = true;
  int track_ = 0;
};

}  // namespace tsy
