#include "core/compiler/source_reader.h"

#include "platform/text_codec.h"
#include "platform/whole_file.h"

namespace tsy {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsDropped(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Condenses one line (with its line feed, if any) whose first character is
// source character `first`; returns the number of the character after it.
uint32_t CondenseLine(std::string_view line, uint32_t first, std::string& text, std::vector<uint32_t>& origins) {
  uint32_t number = first;
  bool comment = false;  // the rest of the line is a comment, counted but not kept
  bool quoted = false;   // inside a quoted run, copied as it stands
  for (size_t i = 0; i < line.size(); ++number) {
    const size_t end = i + (IsCp932LeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() ? 2 : 1);
    for (; i < end; ++i) {
      const char c = line[i];
      if (!quoted && (c == ';' || c == '\0')) comment = true;
      if (comment || (!quoted && IsDropped(c))) continue;
      text.push_back(c);
      origins.push_back(number);
      if (c == '"') quoted = !quoted;
    }
  }
  return number;
}

}  // namespace

FileResult ReadSourceFile(const std::string& path, std::string& bytes) {
  return ReadWholeFile(path, kLargestSource, bytes);
}

std::string SourceToCp932(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) return Utf8ToCp932(bytes.substr(kUtf8ByteOrderMark.size()));
  if (LooksLikeUtf8(bytes)) return Utf8ToCp932(bytes);
  return std::string(bytes);
}

CondensedSource CondenseSource(std::string_view source) {
  std::string text;
  std::vector<uint32_t> origins;
  text.reserve(source.size());
  origins.reserve(source.size());
  CondensedSource condensed;
  uint32_t first = 0;
  while (!source.empty()) {
    size_t end = source.find('\n');
    end = end == std::string_view::npos ? source.size() : end + 1;
    condensed.lines.AddLine(first);
    first = CondenseLine(source.substr(0, end), first, text, origins);
    source.remove_prefix(end);
  }
  condensed.text = CondensedText(std::move(text), std::move(origins));
  return condensed;
}

}  // namespace tsy
