#pragma once
// Positions as the editor counts them and as the compiler does. The editor
// names a place by its line from 0 and an offset in the line in code units of
// the position encoding agreed at start-up (UTF-16 unless the editor offers
// UTF-8); the compiler by its line and column from 1, in characters. A
// document's lines turn one into the other.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/compiler/source_position.h"

namespace tsy::lsp {

enum class PositionEncoding { kUtf16, kUtf8 };

struct EditorPosition {
  uint32_t line = 0;       // from 0
  uint32_t character = 0;  // code units of the encoding from the start of the line

  friend bool operator==(const EditorPosition&, const EditorPosition&) = default;
};

struct EditorRange {
  EditorPosition start;
  EditorPosition end;
};

// The lines of a document's text (UTF-8), which a line feed ends, as the
// compiler counts them.
class DocumentLines {
 public:
  explicit DocumentLines(std::string text);

  const std::string& text() const { return text_; }
  // Line `line` (from 0) without its line feed; empty past the last line.
  std::string_view Line(uint32_t line) const;

  // Where the character at `at` starts, for the editor.
  EditorPosition ToEditor(SourcePosition at, PositionEncoding encoding) const;
  // The one character at `at`; empty where the line has no character there.
  EditorRange CharacterRange(SourcePosition at, PositionEncoding encoding) const;
  // The character the editor's position falls on (or, within a character's
  // code units, the character they belong to). Past the end of its line it
  // is the place after the line's last character.
  SourcePosition ToSource(EditorPosition at, PositionEncoding encoding) const;
  // The byte offset in its line (Line(at.line - 1)) where the character at `at` starts.
  size_t ByteInLine(SourcePosition at) const;

 private:
  std::string text_;
  std::vector<size_t> starts_;  // byte offset of each line's first byte
};

}  // namespace tsy::lsp
