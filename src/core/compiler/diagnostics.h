#pragma once
// The compiler's message text: diagnostics and the compile summary, in CP932,
// accumulated in one text that never grows beyond 1,023 bytes (whatever an
// append would add beyond that is lost), and the error-free flag.

#include <cstdint>
#include <string>

namespace tsy {

class Diagnostics {
 public:
  static constexpr size_t kMaxTextBytes = 1023;  // the platform formatter's output limit

  // Empties the text and sets the error-free flag: the start of a compile.
  void Clear();

  // Raises catalogue message `id` found at source line `line`: the line
  // prefix "\nLine.%4d: ", then the catalogue text; clears the error-free flag.
  void Raise(int id, uint32_t line);
  // The same for texts with a "%d" (the value) or a "%c" (the character) placeholder.
  void RaiseValue(int id, uint32_t line, int value);
  void RaiseChar(int id, uint32_t line, char character);
  // The size-limit message, which carries no line prefix.
  void RaiseOverflow();

  // Appends printf-formatted CP932 text (the compile summary), cut at the limit.
  void Append(const char* format, ...) __attribute__((format(printf, 2, 3)));

  bool errorFree() const { return errorFree_; }
  const std::string& text() const { return text_; }  // CP932 bytes

 private:
  void AppendCatalogue(const std::string& rest);
  void AppendBytes(const std::string& bytes);

  std::string text_;
  bool errorFree_ = true;
};

}  // namespace tsy
