#include "core/compiler/compile_unit.h"

namespace tsy {

ToneMap InitialToneMap() {
  ToneMap map{};
  for (int k = 0; k < 128; ++k) map[k].program = static_cast<uint8_t>(k);
  return map;
}

SourcePosition CompileUnit::PositionAt(size_t index) const {
  if (text.size() == 0) return lines.PositionOf(0);
  if (index < text.size()) return lines.PositionOf(text.OriginAt(index));
  return lines.PositionOf(text.OriginAt(text.size() - 1) + 1);
}

void CompileUnit::TruncateTrack(size_t size) {
  track.resize(size);
  while (!trackEvents.empty() && trackEvents.back().offset >= size) trackEvents.pop_back();
}

}  // namespace tsy
