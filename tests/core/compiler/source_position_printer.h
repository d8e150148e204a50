#pragma once
// Failing expectations show a source position as LINE:COLUMN.

#include <ostream>

#include "core/compiler/source_position.h"

namespace tsy {

inline void PrintTo(const SourcePosition& at, std::ostream* out) { *out << at.line << ":" << at.column; }

}  // namespace tsy
