#include "core/compiler/source_reader.h"

#include "platform/text_codec.h"
#include "platform/whole_file.h"

namespace tsy {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsDropped(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Condenses one line (with its line feed, if any) as source line `line`.
void CondenseLine(std::string_view line, uint32_t number, std::string& text, std::vector<uint32_t>& lineMap) {
  auto keep = [&](char c) {
    text.push_back(c);
    lineMap.push_back(number);
  };
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == ';' || c == '\0') return;
    if (IsDropped(c)) continue;
    keep(c);
    if (c != '"') continue;
    // A quoted run: copied as it stands up to the closing quote or the line's end.
    while (++i < line.size()) {
      keep(line[i]);
      if (line[i] == '"') break;
    }
  }
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

void CondenseSource(std::string_view source, std::string& text, std::vector<uint32_t>& lineMap) {
  text.clear();
  lineMap.clear();
  text.reserve(source.size());
  lineMap.reserve(source.size());
  uint32_t number = 1;
  while (!source.empty()) {
    size_t end = source.find('\n');
    end = end == std::string_view::npos ? source.size() : end + 1;
    CondenseLine(source.substr(0, end), number++, text, lineMap);
    source.remove_prefix(end);
  }
}

}  // namespace tsy
