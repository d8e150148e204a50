// A seek steps over the ticks, and the passes, that have nothing to do. Over
// any image, seeking to a tick must leave the engine where running every
// pass of every tick up to it leaves it: the streams' places, the due and
// gate ticks, the notes' states, the synchronisation count, the ramps and
// the tempo. (The channel settings that only delivery records, and the
// ages the displays show, are not the passes' to keep.)
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/engine/chase.h"
#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/engine/seek.h"
#include "core/image/image_layout.h"
#include "image_input.h"

namespace {

using namespace tsy;

constexpr uint32_t kTargetStep = 16;  // the input's last byte picks a target up to 4,081

// What the passes leave for the next ones, as numbers.
std::vector<int64_t> PassState() {
  const EngineState& s = GetState();
  std::vector<int64_t> v;
  for (int t = 0; t < kTrackCount; ++t) {
    v.push_back(s.trackPos[t] ? s.trackPos[t] - s.trackStart[t] : -1);
    for (int64_t field : {int64_t{s.dueTick[t]}, int64_t{s.gateTick[t]}, int64_t{s.noteState[t]}, int64_t{s.offTick[t]},
                          int64_t{s.eventNotes[t][0] == kEventWaiting}, int64_t{s.trackChannel[t]},
                          int64_t{s.velocity[t]}, int64_t{s.chordSize[t]}})
      v.push_back(field);
  }
  for (int c = 0; c < kChannelCount; ++c) {
    v.push_back(std::bit_cast<uint32_t>(static_cast<float>(s.bendNow[c])));
    v.push_back(s.bendDone[c]);
    v.push_back(s.bendSteps[c]);
    for (int k = 0; k < kControllerCount; ++k) {
      v.push_back(std::bit_cast<uint32_t>(static_cast<float>(s.ccNow[c][k])));
      v.push_back(s.ccDone[c][k]);
      v.push_back(s.ccSteps[c][k]);
    }
  }
  v.push_back(s.syncArrived);
  v.push_back(s.tempo);
  return v;
}

// Every pass of ticks 0 .. target - 1, then the notes begun sounding marked
// as a seek marks them.
std::vector<int64_t> Played(uint32_t target) {
  static MessageWord words[kMessageCapacity];
  static MessageSlots slots;
  EngineState& s = GetState();
  for (uint32_t k = 0; k < target; ++k) {
    s.tick = k;
    s.barTick = k % kBarTicks;
    int ended = 0;
    for (int t = 0; t < kTrackCount; ++t) ended += TrackPass(t, words, &slots) < 0;
    if (ended == kTrackCount) break;
  }
  for (int t = 0; t < kTrackCount; ++t)
    if (s.noteState[t] == kNoteSounding) s.noteState[t] = kNoteMuted;
  return PassState();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> buffer = fuzz::ImageBuffer(data, size);
  const uint32_t target = 1 + (size > 0 ? data[size - 1] : 0) * kTargetStep;
  ClearEngineState();
  if (!LoadImage(buffer.data(), buffer.size()).ok()) return 0;
  const std::vector<int64_t> played = Played(target);

  ClearEngineState();
  LoadImage(buffer.data(), buffer.size());
  static ChasedState chase;
  SeekTo(target, chase);
  const std::vector<int64_t> sought = PassState();
  for (size_t i = 0; i < played.size(); ++i) {
    if (played[i] == sought[i]) continue;
    std::fprintf(stderr, "seek to %u: value %zu is %lld after the seek, %lld after play\n", target, i,
                 static_cast<long long>(sought[i]), static_cast<long long>(played[i]));
    std::abort();
  }
  return 0;
}
