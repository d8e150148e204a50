#include "lsp/text_positions.h"

#include <algorithm>

namespace tsy::lsp {
namespace {

// Bytes of the UTF-8 character whose first byte is `lead` (1 for a stray byte).
size_t Utf8Width(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// Code units of a character of `bytes` UTF-8 bytes: a character beyond the
// basic plane takes two UTF-16 units.
uint32_t Units(size_t bytes, PositionEncoding encoding) {
  if (encoding == PositionEncoding::kUtf8) return static_cast<uint32_t>(bytes);
  return bytes == 4 ? 2 : 1;
}

// The width of each character of `line` in turn, until `visit` returns false.
template <typename Visit>
void EachCharacter(std::string_view line, Visit visit) {
  for (size_t at = 0; at < line.size();) {
    size_t width = std::min(Utf8Width(static_cast<unsigned char>(line[at])), line.size() - at);
    if (!visit(width)) return;
    at += width;
  }
}

}  // namespace

DocumentLines::DocumentLines(std::string text) : text_(std::move(text)) {
  starts_.push_back(0);
  for (size_t i = 0; i < text_.size(); ++i)
    if (text_[i] == '\n') starts_.push_back(i + 1);
}

std::string_view DocumentLines::Line(uint32_t line) const {
  if (line >= starts_.size()) return {};
  size_t end = line + 1 < starts_.size() ? starts_[line + 1] - 1 : text_.size();
  return std::string_view(text_).substr(starts_[line], end - starts_[line]);
}

EditorPosition DocumentLines::ToEditor(SourcePosition at, PositionEncoding encoding) const {
  const uint32_t line = at.line > 0 ? at.line - 1 : 0;
  uint32_t units = 0;
  uint32_t characters = 1;
  EachCharacter(Line(line), [&](size_t width) {
    if (characters >= at.column) return false;
    units += Units(width, encoding);
    ++characters;
    return true;
  });
  return {line, units};
}

EditorRange DocumentLines::CharacterRange(SourcePosition at, PositionEncoding encoding) const {
  EditorRange range{ToEditor(at, encoding), ToEditor(at, encoding)};
  uint32_t characters = 1;
  EachCharacter(Line(range.start.line), [&](size_t width) {
    if (characters++ < at.column) return true;
    range.end.character += Units(width, encoding);
    return false;
  });
  return range;
}

SourcePosition DocumentLines::ToSource(EditorPosition at, PositionEncoding encoding) const {
  SourcePosition position{at.line + 1, 1};
  uint32_t units = 0;
  EachCharacter(Line(at.line), [&](size_t width) {
    units += Units(width, encoding);
    if (units > at.character) return false;
    ++position.column;
    return true;
  });
  return position;
}

size_t DocumentLines::ByteInLine(SourcePosition at) const {
  size_t bytes = 0;
  uint32_t characters = 1;
  EachCharacter(Line(at.line > 0 ? at.line - 1 : 0), [&](size_t width) {
    if (characters++ >= at.column) return false;
    bytes += width;
    return true;
  });
  return bytes;
}

}  // namespace tsy::lsp
