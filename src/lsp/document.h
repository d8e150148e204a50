#pragma once
// One document the editor has open: its text as the editor holds it (not the
// file on disk), compiled whenever it changes, with its outline.

#include <cstdint>
#include <string>

#include "core/compiler/compile_driver.h"
#include "lsp/mml_outline.h"
#include "lsp/text_positions.h"

namespace tsy::lsp {

struct Document {
  // Compiles `text` (UTF-8, converted as sources are) at once.
  Document(std::string text, int64_t version);

  // The editor range of the condensed characters [first, end), which may
  // span white space and lines.
  EditorRange RangeOf(size_t first, size_t end, PositionEncoding encoding) const;
  // The condensed characters [first, end) in UTF-8.
  std::string Written(size_t first, size_t end) const;

  DocumentLines lines;
  int64_t version = 0;
  CompileResult compiled;
  MmlOutline outline;
};

}  // namespace tsy::lsp
