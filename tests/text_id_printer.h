#pragma once
// Failing expectations show a text's number (3042), not its raw bytes.

#include <ostream>

#include "resources/text_id.h"

namespace tsy {

inline void PrintTo(TextId id, std::ostream* out) { *out << static_cast<int>(id); }

}  // namespace tsy
