#include "cli/live_play.h"

#include <memory>

#include "cli/music_input.h"
#include "core/engine/engine_call.h"
#include "core/engine/play_thread.h"
#include "core/engine/state_snapshot.h"

namespace tsy::cli {

bool LivePlay::Start(const Arguments& args, const std::string& source, const std::vector<uint8_t>& objectBuffer,
                     SourceMap map) {
  if (const auto path = args.Option("--positions")) {
    feed_.emplace();
    if (!feed_->Open(*path)) return false;
    feedOnStdout_ = *path == "-";
  }
  if (args.Option("--watch")) {
    if (!IsSourcePath(source)) {
      std::fprintf(stderr, "tsy: --watch needs a source (.mus); %s is an object image\n", source.c_str());
      return false;
    }
    watch_.emplace();
    return watch_->Start(source, objectBuffer, std::move(map), GetState().imageGeneration);
  }
  map_ = std::move(map);
  return true;
}

std::optional<std::chrono::milliseconds> LivePlay::Period() const {
  // A quarter of the feed's period: a line comes within 5 ms of the move it
  // shows, and the first one at the very tick play starts at.
  if (feed_ || watch_) return PositionsFeed::kPeriod / 4;
  return std::nullopt;
}

void LivePlay::Poll() {
  if (watch_) watch_->Poll();
  // Only music that plays has a position: not a start still settling.
  const EngineStatus status = GetStatus();
  if (!feed_ || (status != EngineStatus::kPlaying && status != EngineStatus::kStarted)) return;
  // Each start, however late it is seen, has its line before any position
  // play reached from it: the play thread publishes the start's copy before
  // a copy of any later tick.
  const uint32_t starts = StartCount();
  if (starts == startsWritten_ && starts == startsBefore_) return;  // the first start is not through yet
  if (starts != startsWritten_) {
    startsWritten_ = starts;
    ReadStartState(*state_);
    feed_->Write(*state_, MapFor(state_->imageGeneration));
  }
  if (!feed_->Due(GetState().tick)) return;  // the large copy only for a line
  ReadEngineState(*state_);
  if (StartCount() != starts) return;  // a new start came meanwhile: its line goes first, at the next poll
  const uint32_t end = CurrentPlayRange().end;
  if (end != 0 && state_->tick >= end) return;  // play stops there: the end of the range is never played
  feed_->Write(*state_, MapFor(state_->imageGeneration));
}

const SourceMap* LivePlay::MapFor(uint32_t generation) const { return watch_ ? watch_->MapFor(generation) : &map_; }

}  // namespace tsy::cli
