// An object image may come from anywhere: loading any bytes and running the
// engine over them, with and without slots, must stay inside the image copy
// and the caller's arrays, and every pass must come back.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"

namespace {

constexpr uint32_t kFuzzTicks = 400;  // enough for repeats, jumps and a short fade

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tsy;
  std::vector<uint8_t> buffer(kEngineImageCapacity, 0);
  std::copy(data, data + std::min(size, buffer.size()), buffer.begin());
  if (buffer.size() > 3) buffer[0] = 'E', buffer[1] = 'M', buffer[2] = 'D', buffer[3] = '1';
  ClearEngineState();
  if (LoadImage(buffer.data(), buffer.size()) == 0) return 0;
  static MessageWord words[kMessageCapacity];
  static MessageSlots slots;
  EngineState& s = GetState();
  for (uint32_t k = 0; k < kFuzzTicks; ++k) {
    s.tick = k;
    if (k == kFuzzTicks / 2) StartFade();
    for (int t = 0; t < kTrackCount; ++t) {
      const int n = TrackPass(t, words, k % 2 ? &slots : nullptr);
      if (n > kMessageCapacity) std::abort();
    }
  }
  return 0;
}
