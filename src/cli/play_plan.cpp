#include "cli/play_plan.h"

#include <algorithm>
#include <cstdio>

#include "cli/play_position.h"
#include "core/engine/engine_call.h"
#include "core/engine/play_controls.h"
#include "core/engine/seek.h"
#include "core/smf/render_length.h"

namespace tsy::cli {
namespace {

// The image offset of each track's first event from `line` on; 0 for a
// track without one.
TrackOffsets FirstEventsFromLine(const SourceMap& map, uint32_t line) {
  TrackOffsets offsets{};
  for (int t = 0; t < kTrackCount; ++t)
    if (const SourceMapEntry* event = map.FirstEventFromLine(t + 1, line)) offsets[t] = event->offset;
  return offsets;
}

// Runs the music silently to the first tick that reaches `offsets`, looking
// as far as an export of it would run, and rewinds it after.
std::optional<uint32_t> FindTickReaching(const TrackOffsets& offsets) {
  TakeEngine();
  RewindTracks();
  ResetEngine();
  const int64_t limit = 2 * LongestTrack(CurrentImage()) + kEndAfterTwice;
  const auto tick = FirstTickReaching(offsets, static_cast<uint32_t>(std::min<int64_t>(limit, UINT32_MAX)));
  RewindTracks();
  ResetEngine();
  return tick;
}

}  // namespace

bool ReadPlayPlan(const Arguments& args, PlayPlan& plan) {
  if (args.Option("--from") && args.Option("--from-line")) {
    std::fprintf(stderr, "tsy: --from and --from-line both say where to start; give one\n");
    return false;
  }
  if (!ReadPositionOption(args, "--from", plan.from) || !ReadPositionOption(args, "--to", plan.to)) return false;
  if (const auto text = args.Option("--from-line")) {
    plan.fromLine = ParseCount(*text);
    if (!plan.fromLine) {
      std::fprintf(stderr, "tsy: --from-line needs a line number from 1, not '%s'\n", text->c_str());
      return false;
    }
  }
  plan.loop = args.Option("--loop").has_value();
  return true;
}

bool SettlePlayPlan(const std::string& source, const SourceMap& map, PlayPlan& plan) {
  if (plan.fromLine) {
    const TrackOffsets offsets = FirstEventsFromLine(map, *plan.fromLine);
    const bool any = std::any_of(offsets.begin(), offsets.end(), [](uint32_t offset) { return offset != 0; });
    const auto tick = any ? FindTickReaching(offsets) : std::nullopt;
    if (!tick) {
      std::fprintf(stderr, "tsy: no track of %s plays anything from line %u on\n", source.c_str(), *plan.fromLine);
      return false;
    }
    plan.from = *tick;
  }
  if (plan.to != 0 && plan.to <= plan.from) {
    std::fprintf(stderr, "tsy: --to %s must come after the start, %s\n", PositionText(plan.to).c_str(),
                 PositionText(plan.from).c_str());
    return false;
  }
  return true;
}

}  // namespace tsy::cli
