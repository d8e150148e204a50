#pragma once
// Where tsy play starts, where it ends and whether it loops: --from POS or
// --from-line N, --to POS and --loop.

#include <cstdint>
#include <optional>
#include <string>

#include "cli/arguments.h"
#include "core/compiler/source_map.h"

namespace tsy::cli {

struct PlayPlan {
  uint32_t from = 0;                 // the tick play starts at
  std::optional<uint32_t> fromLine;  // --from-line: `from` is found once the music is loaded
  uint32_t to = 0;                   // the tick play ends (or turns) at; 0: the end of the music
  bool loop = false;
};

// Reads the plan's options. False after saying what is wrong on stderr.
bool ReadPlayPlan(const Arguments& args, PlayPlan& plan);

// Once the music of `source` is loaded into the engine: sets `from` to the
// first tick at which any track reaches an event compiled from `fromLine`
// or a later line (by the events of `map`), and checks that `to` comes
// after it. False after saying why on stderr.
bool SettlePlayPlan(const std::string& source, const SourceMap& map, PlayPlan& plan);

}  // namespace tsy::cli
