#include "core/compiler/compile_unit.h"

namespace tsy {

ToneMap InitialToneMap() {
  ToneMap map{};
  for (int k = 0; k < 128; ++k) map[k].program = static_cast<uint8_t>(k);
  return map;
}

uint32_t CompileUnit::LineAt(size_t index) const {
  if (lineMap.empty()) return 1;
  return index < lineMap.size() ? lineMap[index] : lineMap.back();
}

}  // namespace tsy
