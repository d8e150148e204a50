#pragma once
// What tsy prints about a compile: the result box's text on stdout and each
// diagnostic on stderr as "FILE:LINE:COLUMN: text" (GNU style), for editors
// to jump to; or, for scripts, the whole result as one JSON document.

#include <string>

#include "core/compiler/compile_driver.h"

namespace tsy::cli {

// The message text in UTF-8. A double-byte character that the 1,023-byte
// limit cut in half is left out rather than shown as a broken character.
std::string MessageTextUtf8(const std::string& cp932);

// Prints every diagnostic of `result` to stderr, naming `source`; the
// column counts characters, as the line's text shows them.
void PrintDiagnostics(const std::string& source, const CompileResult& result);

// The compile of `source` as one JSON document: the file, the image length,
// every track the image holds with its ticks and its end as "bars.ticks",
// and every diagnostic with its line, column, track, number and text (UTF-8,
// without the line prefix).
std::string CompileReportJson(const std::string& source, const CompileResult& result);

// Prints "TEXT: SOURCE (reason)" to stderr, TEXT being kCannotOpen's.
void PrintCannotOpen(const std::string& source, int error);

}  // namespace tsy::cli
