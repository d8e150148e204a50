#pragma once
// Where play from a source line starts: the first tick at which any track
// reaches an event compiled from that line or a later one. tsy play
// --from-line and the editor's play from the cursor both start there.

#include <cstdint>
#include <optional>

#include "core/compiler/source_map.h"

namespace tsy {

// With the music of `map` loaded into the engine and the engine free (play
// halted): runs the music silently until some track reaches an event of
// `line` or later, and rewinds it after. Nothing when no track plays
// anything from that line on.
std::optional<uint32_t> FirstTickFromLine(const SourceMap& map, uint32_t line);

}  // namespace tsy
