#pragma once
// The track status display: the whole live picture of the play engine in the
// main window's client area, painted from a private copy of EngineState. One
// painter draws everything; the window's paint handler and the refresh
// thread both call it, and a paint that finds another one running is dropped.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "core/engine/engine_call.h"
#include "core/engine/engine_state.h"
#include "display/canvas.h"
#include "display/display_layout.h"
#include "display/level_meters.h"
#include "display/source_line_panel.h"
#include "display/status_panels.h"
#include "display/track_list.h"

namespace tsy {

// What the shell decides about the display (read without a lock; a paint
// may see one value older than another).
struct TrackDisplayView {
  int trackScroll = 0;  // 0..32
  int cursorRow = 0;    // 0..15
  int dispMode = 0;     // DisplayMode, 0..3
  bool modeEq = false;  // meters show the analyser
  StatusTexts texts;
  SourceLineLookup sourceLine;  // where the selected track plays in its source; empty: the band stays black
};

class TrackDisplay {
 public:
  TrackDisplay();

  // Copies the published engine state, reads the engine status and paints
  // onto `window`. `nowMs` is the wall clock in ms. Returns false, drawing
  // nothing, when another paint is running.
  bool Paint(Canvas& window, const TrackDisplayView& view, uint32_t nowMs);

  // The same from a given copy of the state and status (tests, benchmarks).
  bool PaintFrom(Canvas& window, const EngineState& copy, EngineStatus status, const TrackDisplayView& view,
                 uint32_t nowMs);

 private:
  Canvas& PictureFor(Canvas& window, Picture picture);
  void DrawAll(Canvas& window, const EngineState& s, EngineStatus status, const TrackDisplayView& view, uint32_t nowMs);

  std::atomic<bool> busy_{false};
  std::unique_ptr<EngineState> copy_;  // the private copy, about 100 KB
  std::array<std::unique_ptr<Canvas>, static_cast<size_t>(Picture::kCount)> pictures_;
  int pictureDepth_ = 0;  // depth the pictures were made for
  LevelMeters meters_;
};

}  // namespace tsy
