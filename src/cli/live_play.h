#pragma once
// What runs beside tsy play while the music plays: the positions feed
// (--positions) and the watch on the source (--watch). The command's wait
// loop polls it.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/positions_feed.h"
#include "cli/source_watch.h"
#include "core/engine/state_snapshot.h"

namespace tsy::cli {

class LivePlay {
 public:
  // Opens the feed and starts the watch that `args` ask for, for the music
  // of `source` loaded from `objectBuffer`, whose events came from `map`.
  // False after saying why on stderr.
  bool Start(const Arguments& args, const std::string& source, const std::vector<uint8_t>& objectBuffer, SourceMap map);

  // True when the feed writes to standard output, which then carries nothing else.
  bool FeedOnStdout() const { return feedOnStdout_; }

  // How often Poll wants to be called; nothing when it has nothing to do.
  std::optional<std::chrono::milliseconds> Period() const;

  // Without waiting: looks for a saved source, then writes the feed's line.
  void Poll();

 private:
  const SourceMap* MapFor(uint32_t generation) const;

  std::optional<PositionsFeed> feed_;
  std::optional<SourceWatch> watch_;
  SourceMap map_;  // without a watch: the map of the one image played
  std::unique_ptr<EngineState> state_ = std::make_unique<EngineState>();  // the feed's copy; too large for the stack
  bool feedOnStdout_ = false;
  // Starts as the engine counts them: before this play, and shown by the feed.
  uint32_t startsBefore_ = StartCount();
  uint32_t startsWritten_ = startsBefore_;
};

}  // namespace tsy::cli
