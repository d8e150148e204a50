#include "lsp/player.h"

#include <algorithm>

#include "core/engine/load_image.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "core/image/image_layout.h"
#include "midiout/device_choice.h"
#include "play/line_start.h"

namespace tsy::lsp {
namespace {

bool HasTrack(const std::vector<uint8_t>& image) {
  if (image.size() < kImageHeaderSize) return false;
  for (int k = 1; k <= kTrackCount; ++k)
    if (ImageTrackOffset(image.data(), k) != 0) return true;
  return false;
}

// Starts the loaded music where the cursor's line is first reached, with the
// state chased there; from the start when nothing plays from that line on.
void StartAtLine(const SourceMap& sourceMap, uint32_t line) {
  PlayFromTick(FirstTickFromLine(sourceMap, line).value_or(0));
}

}  // namespace

const EditorText* Player::PlayFromLine(const CompileResult& compiled, uint32_t line, std::string device) {
  if (!HasTrack(compiled.image)) return &kNothingToPlayText;
  if (!opened_) {
    ApplyDeviceChoice(device, [](const std::string&) {});
    opened_ = true;
  }
  if (PlayThreadInStandby()) return &kStandbyText;
  objectBuffer_.assign(kObjectBufferSize, 0);
  std::copy(compiled.image.begin(), compiled.image.end(), objectBuffer_.begin());
  LoadImage(objectBuffer_.data(), objectBuffer_.size());
  StartAtLine(compiled.sourceMap, line);
  return nullptr;
}

void Player::Stop() {
  if (opened_) Halt();
}

void Player::Close() {
  if (!opened_) return;
  CloseOutput();
  opened_ = false;
}

}  // namespace tsy::lsp
