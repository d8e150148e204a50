#include "display/track_display.h"

#include "core/engine/state_snapshot.h"
#include "display/beat_indicator.h"
#include "display/keyboards.h"

namespace tsy {
namespace {

// Clears the busy flag when a paint ends.
class BusyScope {
 public:
  explicit BusyScope(std::atomic<bool>& busy) : busy_(busy) {}
  ~BusyScope() { busy_.store(false, std::memory_order_release); }

 private:
  std::atomic<bool>& busy_;
};

}  // namespace

TrackDisplay::TrackDisplay() : copy_(std::make_unique<EngineState>()) {}

bool TrackDisplay::Paint(Canvas& window, const TrackDisplayView& view, uint32_t nowMs) {
  if (busy_.exchange(true, std::memory_order_acquire)) return false;
  BusyScope scope(busy_);
  ReadEngineState(*copy_);
  DrawAll(window, *copy_, GetStatus(), view, nowMs);
  return true;
}

bool TrackDisplay::PaintFrom(Canvas& window, const EngineState& copy, EngineStatus status, const TrackDisplayView& view,
                             uint32_t nowMs) {
  if (busy_.exchange(true, std::memory_order_acquire)) return false;
  BusyScope scope(busy_);
  DrawAll(window, copy, status, view, nowMs);
  return true;
}

Canvas& TrackDisplay::PictureFor(Canvas& window, Picture picture) {
  if (window.depth() != pictureDepth_) {
    pictureDepth_ = window.depth();
    for (auto& p : pictures_) p.reset();
  }
  auto& slot = pictures_[static_cast<size_t>(picture)];
  if (!slot) {
    const Place size = kPictureSizes[static_cast<size_t>(picture)];
    slot = window.MakePicture(size.width, size.height);
  }
  return *slot;
}

void TrackDisplay::DrawAll(Canvas& window, const EngineState& s, EngineStatus status, const TrackDisplayView& view,
                           uint32_t nowMs) {
  Canvas& list = PictureFor(window, Picture::kTrackList);
  DrawTrackList(list, s, {view.trackScroll, view.cursorRow, view.dispMode});
  window.Copy(list, kTrackListPlace.x, kTrackListPlace.y, kTrackListPlace.width, kTrackListPlace.height);

  DrawLinePanels(window, PictureFor(window, Picture::kLine), s, view.texts);

  Canvas& beat = PictureFor(window, Picture::kBeat);
  DrawBeatIndicator(beat, s);
  window.Copy(beat, kBeatPlace.x, kBeatPlace.y, kBeatPlace.width, kBeatPlace.height);

  DrawKeyboards(window, PictureFor(window, Picture::kKeyboard), s);

  meters_.Draw(window, PictureFor(window, Picture::kMeter), s,
               {view.modeEq, status == EngineStatus::kPlaying, view.trackScroll, nowMs});

  DrawWindowTexts(window, s, view.texts);
  DrawSourceLine(window, s, view.trackScroll + view.cursorRow, view.sourceLine);
}

}  // namespace tsy
