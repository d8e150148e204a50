#pragma once
// The 16 level meters beside the track list: either the levels of the 16
// tracks shown in the list (track view) or the pseudo spectrum analyser
// (analyser view), each with a peak marker that holds 600 ms and then falls
// one segment per 100 ms of wall-clock time.

#include <array>
#include <cstdint>

#include "core/engine/engine_state.h"
#include "display/canvas.h"
#include "display/spectrum_analyser.h"

namespace tsy {

struct MeterView {
  bool analyser = false;  // the shell's ModeEQ
  bool playing = false;   // the engine status is Playing
  int trackScroll = 0;    // track view: meter k shows track trackScroll + k
  uint32_t nowMs = 0;     // wall clock, for the peak markers
};

class LevelMeters {
 public:
  // Draws the 16 meters through the shared 16 x 80 `picture` onto `window`.
  void Draw(Canvas& window, Canvas& picture, const EngineState& s, const MeterView& view);

 private:
  struct Meter {
    int level = 0;  // lit segments from the bottom, 0..15
    bool barsOn = false;
    bool markOn = false;
  };

  static Meter TrackMeter(const EngineState& s, int t);
  void UpdatePeak(int k, int level, uint32_t nowMs);
  void DrawMeter(Canvas& picture, int k, const Meter& meter);

  SpectrumAnalyser analyser_;
  std::array<int, kBandCount> peakLevel_{};
  std::array<uint32_t, kBandCount> peakHoldMs_{};
  std::array<uint32_t, kBandCount> peakTime_{};  // wall clock when the peak was set
  bool lastAnalyser_ = false;                    // the view of the previous paint
};

}  // namespace tsy
