#include "core/compiler/structure.h"

#include <algorithm>
#include <limits>

#include "core/compiler/pitch.h"
#include "core/image/event_table.h"

namespace tsy {
namespace {

constexpr int32_t kMaxRepeatCount = 255;
constexpr int32_t kMaxLabel = 255;

uint64_t SaturatingMultiply(uint64_t ticks, uint64_t count) {
  uint64_t max = std::numeric_limits<uint64_t>::max();
  return ticks > max / count ? max : ticks * count;
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
  uint64_t max = std::numeric_limits<uint64_t>::max();
  return a > max - b ? max : a + b;
}

}  // namespace

void ParseRepeatStart(ParseContext& cx) {
  TrackState& s = cx.state;
  if (s.repeatDepth == kMaxRepeatDepth) {
    cx.Fault(TextId::kRepeatCountOutOfRange);
    return;
  }
  ++s.repeatDepth;
  s.repeatTicks[s.repeatDepth] = 0;
  cx.out.Event<EventCode::kRepeatStart>(
      {kRepeatStartPrefix[1], kRepeatStartPrefix[2], static_cast<uint8_t>(s.repeatDepth)});
}

void ParseRepeatEnd(ParseContext& cx) {
  TrackState& s = cx.state;
  int32_t count = 0;
  if (!cx.ReadNumber(count) || count < 1 || count > kMaxRepeatCount) {
    cx.Fault(TextId::kRepeatCountOutOfRange);
    return;
  }
  if (s.repeatDepth == 0) {
    cx.Fault(TextId::kRepeatWithoutStart);
    return;
  }
  cx.out.Event<EventCode::kRepeatEnd>({static_cast<uint8_t>(s.repeatDepth), static_cast<uint8_t>(count)});
  uint64_t body = SaturatingMultiply(s.repeatTicks[s.repeatDepth], static_cast<uint64_t>(count));
  --s.repeatDepth;
  uint64_t& enclosing = s.repeatDepth > 0 ? s.repeatTicks[s.repeatDepth] : s.totalTicks;
  enclosing = SaturatingAdd(enclosing, body);
}

void CountTicks(TrackState& state, int64_t ticks) {
  uint64_t& sum = state.repeatDepth > 0 ? state.repeatTicks[state.repeatDepth] : state.totalTicks;
  sum = SaturatingAdd(sum, static_cast<uint64_t>(ticks));
}

uint32_t TrackTicks(const TrackState& state) {
  uint64_t ticks = state.totalTicks;
  for (int depth = 1; depth <= state.repeatDepth; ++depth) ticks = SaturatingAdd(ticks, state.repeatTicks[depth]);
  return static_cast<uint32_t>(std::min<uint64_t>(ticks, std::numeric_limits<uint32_t>::max()));
}

void ParseBarLine(ParseContext& cx) {
  RestoreKeySignature(cx.state);
  cx.out.Event<EventCode::kBarLine>();
}

void ParseRestartStop(ParseContext& cx) { cx.out.Event<EventCode::kRestartStop>({cx.Accept('*') ? kStop : kRestart}); }

void ParseLabel(ParseContext& cx) {
  int32_t label = cx.ReadUnsigned().value;
  if (label > kMaxLabel) {
    cx.Fault(TextId::kLabelOutOfRange);
    return;
  }
  cx.state.labelPending = true;
  cx.out.Event<EventCode::kLabel>({static_cast<uint8_t>(label)});
}

void ParseJump(ParseContext& cx) {
  int32_t label = cx.ReadUnsigned().value;
  if (label > kMaxLabel) {
    cx.Fault(TextId::kJumpOutOfRange);
    return;
  }
  // Nothing between the label and the jump takes time: play would never move on.
  if (cx.state.labelPending) {
    cx.Fault(TextId::kEndlessLoop);
    return;
  }
  cx.out.Event<EventCode::kJump>({static_cast<uint8_t>(label)});
}

void ParseNoOutput(ParseContext& cx) { cx.out.Event<EventCode::kNoOutput>(); }

}  // namespace tsy
