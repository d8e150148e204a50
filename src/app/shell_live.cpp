// The shell's commands beyond the described ones, for working on a piece
// while it plays: live reload of the saved source, and play from a bar.
#include "app/file_names.h"
#include "app/shell.h"
#include "app/shell_host.h"
#include "core/settings/settings.h"
#include "resources/window_texts.h"

namespace tsy {
namespace {

constexpr int kTicksPerBar = 192;
constexpr int kLastStartBar = 9999;  // the status line's bars go to 9999

}  // namespace

void Shell::SourceSaved() {
  if (!settings_.liveReload || state_.currentFile.empty() || HasExtension(state_.currentFile, "emd")) return;
  if (const uint32_t size = core_.reloadSource(state_.currentFile, state_.objectBuffer.data())) {
    state_.compiledSize = size;
    state_.lastCompiledFile = state_.currentFile;
  }
}

void Shell::PlayFromBar() {
  const std::optional<int> bar = host_.AskNumber(kPlayFromBarPrompt, lastStartBar_, 0, kLastStartBar);
  if (!bar) return;
  lastStartBar_ = *bar;
  core_.playFromTick(static_cast<uint32_t>(*bar * kTicksPerBar));
}

}  // namespace tsy
