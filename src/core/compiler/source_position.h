#pragma once
// Positions in a source file as an editor shows them: a line and a column,
// both from 1, columns counted in characters of the line as written (a
// double-byte character is one; a source written in UTF-8 counts its own
// characters, which its conversion keeps one for one).

#include <cstdint>
#include <vector>

namespace tsy {

struct SourcePosition {
  uint32_t line = 0;    // from 1
  uint32_t column = 0;  // from 1, in characters

  friend bool operator==(const SourcePosition&, const SourcePosition&) = default;
};

// Where the lines of one source start, in characters from the start of the
// file, so that the number of a character becomes its line and column.
class SourceLines {
 public:
  // Starts the next line at character `first`; lines are added in order.
  void AddLine(uint32_t first) { starts_.push_back(first); }

  // The position of character `character` (counted from 0). Past the last
  // line's start it stays in the last line; without any line it is 1:1.
  SourcePosition PositionOf(uint32_t character) const;

 private:
  std::vector<uint32_t> starts_;  // the number of each line's first character, ascending
};

}  // namespace tsy
