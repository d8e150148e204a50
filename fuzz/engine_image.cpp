// An object image may come from anywhere: loading any bytes and running the
// engine over them for 20,000 ticks, with and without slots, must stay inside
// the image copy and the caller's arrays, and every pass must come back.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/image/image_layout.h"
#include "image_input.h"

namespace {

constexpr uint32_t kFuzzTicks = 20000;  // a little over two minutes at tempo 120
constexpr uint32_t kFadeTick = 15000;   // late enough for long repeats, early enough to finish the fade
constexpr uint32_t kBarTicks = 192;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tsy;
  std::vector<uint8_t> buffer = fuzz::ImageBuffer(data, size);
  ClearEngineState();
  if (!LoadImage(buffer.data(), buffer.size()).ok()) return 0;
  static MessageWord words[kMessageCapacity];
  static MessageSlots slots;
  EngineState& s = GetState();
  for (uint32_t k = 0; k < kFuzzTicks; ++k) {
    s.tick = k;
    s.barTick = k % kBarTicks;
    if (k == kFadeTick) StartFade();
    int ended = 0;
    for (int t = 0; t < kTrackCount; ++t) {
      const int n = TrackPass(t, words, k % 2 ? &slots : nullptr);
      if (n > kMessageCapacity) std::abort();
      if (n < 0) ++ended;
    }
    if (ended == kTrackCount) break;  // nothing more can happen
  }
  return 0;
}
