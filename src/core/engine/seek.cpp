#include "core/engine/seek.h"

#include <algorithm>

#include "core/engine/channel_record.h"
#include "core/engine/track_pass.h"
#include "core/image/event_table.h"

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

// A ramp or a fade steps at every tick, in the pass of every track on its
// channel; so does the pass that restores the master volume after a fade.
bool AnyRampOrFade(const EngineState& s) {
  if (s.fadeActive || s.fadeStep != 0) return true;
  for (int c = 0; c < kChannelCount; ++c)
    if (s.bendSteps[c] != 0 || s.ccRamping[c][0] != 0 || s.ccRamping[c][1] != 0) return true;
  return false;
}

// A sounding note whose gate will send its note-off: not a rest, not one
// that is held into the next (no release).
bool GatePending(const EngineState& s, int t) {
  return s.noteState[t] == kNoteSounding && s.eventNotes[t][0] != kEventRest && (s.noteFlags[t] & kNoteRelease);
}

// A track that has ended, or waits at a synchronisation mark until the
// others' passes release it: its passes do nothing.
bool Stands(const EngineState& s, int t) { return s.trackPos[t] == nullptr || s.eventNotes[t][0] == kEventWaiting; }

// What track t's pass at `tick` has to do, beyond refreshing the ages the
// displays show (which the first pass after the seek refreshes anyway).
enum class PassWork { kNone, kGate, kEvents };
PassWork WorkAt(const EngineState& s, int t, uint32_t tick) {
  if (Stands(s, t)) return PassWork::kNone;
  if (s.dueTick[t] <= tick) return PassWork::kEvents;
  return GatePending(s, t) && s.gateTick[t] <= tick ? PassWork::kGate : PassWork::kNone;
}

// The next tick after `tick` at which a pass can do more than count ages:
// an event due, a gate expiring, or any ramp or fade (which step every tick).
uint32_t NextBusyTick(const EngineState& s, uint32_t tick, uint32_t limit) {
  if (AnyRampOrFade(s)) return tick + 1;
  uint32_t next = limit;
  for (int t = 0; t < kTrackCount; ++t) {
    if (Stands(s, t)) continue;
    next = std::min<uint32_t>(next, s.dueTick[t]);
    if (GatePending(s, t)) next = std::min<uint32_t>(next, s.gateTick[t]);
  }
  return std::max(next, tick + 1);
}

int RunPass(int t, PassWork work) {
  return work == PassWork::kGate ? RunGateExpiry(t, gWords, &gSlots) : TrackPass(t, gWords, &gSlots);
}

// The passes of `tick` that can change anything, their messages recorded
// and handed to `chase` (when given). While a ramp or a fade runs, every
// track's pass steps it, so every track runs in full. A ramp that starts at
// this tick takes its first step in the pass that starts it, so the passes
// after it that are skipped would have done nothing. The last track's pass
// always runs in full: it releases the tracks waiting at a synchronisation
// mark. Returns false when every track has ended.
bool SilentPasses(EngineState& s, uint32_t tick, ChasedState* chase) {
  s.tick = tick;
  s.barTick = tick % kBarTicks;
  const bool everyTrack = AnyRampOrFade(s);
  bool live = false;
  for (int t = 0; t < kTrackCount; ++t) {
    const PassWork work = everyTrack || t == kTrackCount - 1 ? PassWork::kEvents : WorkAt(s, t, tick);
    if (work != PassWork::kNone) {
      const int n = RunPass(t, work);
      for (int i = 0; i < n && i < kMessageCapacity; ++i) {
        KeepRecord(gWords[i]);
        if (chase) chase->Absorb(gWords[i], gSlots);
      }
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
