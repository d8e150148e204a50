#include "core/engine/seek.h"

#include <algorithm>

#include "core/engine/channel_record.h"

namespace tsy {
namespace {

// The passes' buffers. One silent run at a time: whoever runs it has the engine.
MessageWord gWords[kMessageCapacity];
MessageSlots gSlots;

// Holds the music's own requests back for as long as it lives.
class HeldMusicRequests {
 public:
  HeldMusicRequests() { HoldMusicRequests(true); }
  ~HeldMusicRequests() { HoldMusicRequests(false); }
  HeldMusicRequests(const HeldMusicRequests&) = delete;
  HeldMusicRequests& operator=(const HeldMusicRequests&) = delete;
};

void KeepRecord(MessageWord w) {
  if (IsNoteMessage(w)) return;
  if (IsShortMessage(w)) RecordShort(w);
  else if (IsSysExWord(w)) RecordLong(gSlots[WordSlot(w)].data(), std::min<size_t>(WordLength(w), kSlotSize));
}

bool AnyRampOrFade(const EngineState& s) {
  if (s.fadeActive) return true;
  for (int c = 0; c < kChannelCount; ++c)
    if (s.bendSteps[c] != 0 || s.ccRamping[c][0] != 0 || s.ccRamping[c][1] != 0) return true;
  return false;
}

// The next tick after `tick` at which a pass can do more than count ages:
// an event due, a gate expiring, or any ramp or fade (which step every tick).
// A track waiting at a synchronisation mark is released by the others' passes.
uint32_t NextBusyTick(const EngineState& s, uint32_t tick, uint32_t limit) {
  if (AnyRampOrFade(s)) return tick + 1;
  uint32_t next = limit;
  for (int t = 0; t < kTrackCount; ++t) {
    if (s.trackPos[t] == nullptr || s.eventNotes[t][0] == kEventWaiting) continue;
    next = std::min<uint32_t>(next, s.dueTick[t]);
    if (s.noteState[t] == kNoteSounding) next = std::min<uint32_t>(next, s.gateTick[t]);
  }
  return std::max(next, tick + 1);
}

// The 48 passes of `tick`, their messages recorded and handed to `chase`
// (when given). Returns false when every track has ended.
bool SilentPasses(EngineState& s, uint32_t tick, ChasedState* chase) {
  s.tick = tick;
  s.barTick = tick % kBarTicks;
  bool live = false;
  for (int t = 0; t < kTrackCount; ++t) {
    const int n = TrackPass(t, gWords, &gSlots);
    for (int i = 0; i < n && i < kMessageCapacity; ++i) {
      KeepRecord(gWords[i]);
      if (chase) chase->Absorb(gWords[i], gSlots);
    }
    live = live || s.trackPos[t] != nullptr;
  }
  return live;
}

// Every note begun before the seek's tick got no note-on: none gets a note-off.
void MuteStartedNotes(EngineState& s) {
  for (int t = 0; t < kTrackCount; ++t)
    if (s.noteState[t] == kNoteSounding) s.noteState[t] = kNoteMuted;
}

}  // namespace

uint32_t SeekTo(uint32_t target, ChasedState& chase) {
  EngineState& s = GetState();
  HeldMusicRequests held;
  chase.Clear();
  uint32_t tick = 0;
  while (tick < target && SilentPasses(s, tick, &chase)) tick = NextBusyTick(s, tick, target);
  tick = std::min(tick, target);
  MuteStartedNotes(s);
  s.tick = tick;
  s.barTick = tick % kBarTicks;
  chase.Compose();
  return tick;
}

std::optional<uint32_t> FirstTickReaching(const TrackOffsets& offsets, uint32_t limit) {
  EngineState& s = GetState();
  const uint8_t* image = CurrentImage();
  if (!image) return std::nullopt;
  HeldMusicRequests held;
  auto reached = [&] {
    for (int t = 0; t < kTrackCount; ++t)
      if (offsets[t] != 0 && s.trackPos[t] != nullptr && s.trackPos[t] > image + offsets[t]) return true;
    return false;
  };
  for (uint32_t tick = 0; tick < limit;) {
    const bool live = SilentPasses(s, tick, nullptr);
    if (reached()) return tick;
    if (!live) break;
    tick = NextBusyTick(s, tick, limit);
  }
  return std::nullopt;
}

}  // namespace tsy
