#pragma once
// Reading a source file and condensing it: comments and white space go,
// quoted runs stay as written, and every remaining byte keeps the number of
// the source character it came from, which the source's line starts turn
// into a line and a column.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/compiler/condensed_text.h"
#include "core/compiler/source_position.h"
#include "platform/file_result.h"

namespace tsy {

// The largest source read: far beyond any piece (the image holds 16 KB),
// small enough that a device without an end is refused instead of filling
// the memory.
constexpr size_t kLargestSource = size_t{64} << 20;

// Reads the whole file at `path` into `bytes`; kTooLarge (EFBIG) beyond kLargestSource.
FileResult ReadSourceFile(const std::string& path, std::string& bytes);

// The source in CP932, the compiler's code page. A source written in UTF-8
// (it starts with a byte-order mark, or it is well-formed UTF-8 holding
// multi-byte characters) is converted; line feeds stay where they were, so
// line numbers do not move. Anything else is taken as CP932 already.
std::string SourceToCp932(std::string_view bytes);

// A source condensed for the track passes, and where its lines start.
struct CondensedSource {
  CondensedText text;
  SourceLines lines;
};

// Condenses CP932 source text. Per line (ended by a line feed): ";" or a
// zero byte ends it (the rest is a comment); tab, space, carriage return and
// line feed are dropped; a double quote opens a run copied unchanged up to
// and including the closing quote, or to the end of the line, line end
// included. Characters are numbered from 0 through the whole source, a
// double-byte character as one, its two bytes with the same number.
CondensedSource CondenseSource(std::string_view source);

}  // namespace tsy
