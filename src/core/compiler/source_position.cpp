#include "core/compiler/source_position.h"

#include <algorithm>

namespace tsy {

SourcePosition SourceLines::PositionOf(uint32_t character) const {
  auto after = std::upper_bound(starts_.begin(), starts_.end(), character);
  if (after == starts_.begin()) return {1, 1};
  const uint32_t line = static_cast<uint32_t>(after - starts_.begin());
  return {line, character - *(after - 1) + 1};
}

}  // namespace tsy
