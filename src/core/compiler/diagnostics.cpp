#include "core/compiler/diagnostics.h"

#include <cstdarg>
#include <cstdio>

#include "platform/text_codec.h"
#include "resources/string_table.h"

namespace tsy {
namespace {

// Formats printf-style into a std::string of any length.
std::string FormatV(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string out = FormatV(format, args);
  va_end(args);
  return out;
}

}  // namespace

void Diagnostics::Clear() {
  text_.clear();
  errorFree_ = true;
}

void Diagnostics::AppendBytes(const std::string& bytes) {
  if (text_.size() >= kMaxTextBytes) return;
  text_.append(bytes, 0, kMaxTextBytes - text_.size());
}

// Every catalogue text starts with "%s" (the text so far); `rest` is the
// text after it, already formatted, in CP932.
void Diagnostics::AppendCatalogue(const std::string& rest) {
  AppendBytes(rest);
  errorFree_ = false;
}

void Diagnostics::Raise(int id, uint32_t line) {
  AppendBytes(Format("\nLine.%4u: ", line));
  AppendCatalogue(Utf8ToCp932(LoadText(id) + 2));
}

void Diagnostics::RaiseValue(int id, uint32_t line, int value) {
  AppendBytes(Format("\nLine.%4u: ", line));
  AppendCatalogue(Format(Utf8ToCp932(LoadText(id) + 2).c_str(), value));
}

void Diagnostics::RaiseChar(int id, uint32_t line, char character) {
  AppendBytes(Format("\nLine.%4u: ", line));
  AppendCatalogue(Format(Utf8ToCp932(LoadText(id) + 2).c_str(), character));
}

void Diagnostics::RaiseOverflow() { AppendCatalogue(Utf8ToCp932(LoadText(3030) + 2)); }

void Diagnostics::Append(const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendBytes(FormatV(format, args));
  va_end(args);
}

}  // namespace tsy
