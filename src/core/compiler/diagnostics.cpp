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

// The catalogue text of `id` in CP932, without the leading "%s" that stands
// for the text so far: what the message adds to the text.
std::string CatalogueFormat(TextId id) { return Utf8ToCp932(LoadText(id) + 2); }

}  // namespace

void Diagnostics::Clear() {
  text_.clear();
  records_.clear();
  errorFree_ = true;
  track_ = 0;
}

void Diagnostics::AppendBytes(const std::string& bytes) {
  if (text_.size() >= kMaxTextBytes) return;
  text_.append(bytes, 0, kMaxTextBytes - text_.size());
}

// Line numbers stay far below INT_MAX: a source is at most kLargestSource bytes.
void Diagnostics::AppendLinePrefix(uint32_t line) {
  AppendBytes(Format(CatalogueFormat(TextId::kLinePrefix).c_str(), static_cast<int>(line)));
}

// `message` is the formatted catalogue text, in CP932.
void Diagnostics::AppendCatalogue(TextId id, SourcePosition at, const std::string& message) {
  AppendBytes(message);
  std::string bare = message;
  if (!bare.empty() && bare.back() == '\n') bare.pop_back();
  records_.push_back({id, {}, track_, at, bare});
  errorFree_ = false;
}

void Diagnostics::Raise(TextId id, SourcePosition at) {
  AppendLinePrefix(at.line);
  AppendCatalogue(id, at, CatalogueFormat(id));
}

void Diagnostics::RaiseValue(TextId id, SourcePosition at, int value) {
  AppendLinePrefix(at.line);
  AppendCatalogue(id, at, Format(CatalogueFormat(id).c_str(), value));
}

void Diagnostics::RaiseChar(TextId id, SourcePosition at, char character) {
  AppendLinePrefix(at.line);
  AppendCatalogue(id, at, Format(CatalogueFormat(id).c_str(), character));
}

void Diagnostics::RaiseOverflow(SourcePosition at) {
  AppendCatalogue(TextId::kDataOverflow, at, CatalogueFormat(TextId::kDataOverflow));
}

void Diagnostics::Append(const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendBytes(FormatV(format, args));
  va_end(args);
}

}  // namespace tsy
