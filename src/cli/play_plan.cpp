#include "cli/play_plan.h"

#include <cstdio>

#include "cli/play_position.h"
#include "play/line_start.h"

namespace tsy::cli {

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
    const auto tick = FirstTickFromLine(map, *plan.fromLine);
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
