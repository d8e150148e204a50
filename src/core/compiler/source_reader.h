#pragma once
// Reading a source file and condensing it: comments and white space go,
// quoted runs stay as written, and every remaining character keeps the
// number of the source line it came from.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// Condenses CP932 source text into `text`, with the source line (from 1) of
// every kept character in `lineMap`. Per line: ";" or a zero byte ends it
// (the rest is a comment); tab, space, carriage return and line feed are
// dropped; a double quote opens a run copied unchanged up to and including
// the closing quote, or to the end of the line, line end included.
void CondenseSource(std::string_view source, std::string& text, std::vector<uint32_t>& lineMap);

}  // namespace tsy
