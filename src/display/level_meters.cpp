#include "display/level_meters.h"

#include <algorithm>

#include "display/display_layout.h"
#include "display/palette.h"

namespace tsy {
namespace {

constexpr uint32_t kPeakStayMs = 500;  // plus the first 100 ms of hold: 600 ms in all
constexpr uint32_t kPeakStepMs = 100;
constexpr const char kAnalyserLabels[] = "         Mode-SA";  // one character per meter
constexpr const char kTagLabels[] = "-123456";                // by trackTag

// Segment colours from the top: red 0..3, yellow 4..7, green 8..15; unlit
// segments show a thin line of the dark shade.
Colour LitColour(int i) { return i < 4 ? kPalette[2] : i < 8 ? kPalette[6] : kPalette[4]; }
Colour UnlitColour(int i) { return i < 4 ? kPalette[10] : i < 8 ? kPalette[14] : kPalette[12]; }

}  // namespace

LevelMeters::Meter LevelMeters::TrackMeter(const EngineState& s, int t) {
  Meter meter;
  const bool present = s.trackPos[t].load() != nullptr;
  meter.markOn = present;
  const int c = s.trackChannel[t] & 15;
  const int volume = s.volume[c];
  const bool restStarted = s.msSinceRest[t] == s.msSinceOn[t] && s.eventNotes[t][0] == kEventRest;
  if (volume == kUnsetSetting || restStarted) return meter;
  const int64_t r = s.noteState[t] == kNoteIdle ? 2 : 0;
  const int64_t decay = (int64_t{s.msSinceOn[t]} + r * s.msSinceOff[t]) / 10;
  const int64_t loudness = int64_t{s.velocity[t]} * volume * s.expression[c] / 128 / 128;
  const int64_t level = (loudness - decay) / 8;
  // A level beyond the meter (expression unset counts as 255) shows nothing.
  meter.level = level < 0 || level > kMaxLevel ? 0 : static_cast<int>(level);
  meter.barsOn = present;
  return meter;
}

void LevelMeters::UpdatePeak(int k, int level, uint32_t nowMs) {
  if (peakLevel_[k] <= level) {
    peakLevel_[k] = level;
    peakHoldMs_[k] = kPeakStepMs;
    peakTime_[k] = nowMs;
  }
  if (peakLevel_[k] > 0) {
    const uint32_t age = nowMs - peakTime_[k];
    // Once at 0 the marker stays there; further steps would change nothing.
    while (peakLevel_[k] > 0 && age > kPeakStayMs && age - kPeakStayMs > peakHoldMs_[k]) {
      peakHoldMs_[k] += kPeakStepMs;
      --peakLevel_[k];
    }
  } else {
    peakLevel_[k] = 0;
    peakHoldMs_[k] = kPeakStepMs;
    peakTime_[k] = 0;
  }
}

void LevelMeters::DrawMeter(Canvas& picture, int k, const Meter& meter) {
  picture.FillRect(0, 0, 16, 80, kBlack);
  for (int i = 0; i <= kMaxLevel; ++i) {
    const bool lit = (kMaxLevel - meter.level < i && meter.barsOn) || (kMaxLevel - peakLevel_[k] == i && meter.markOn);
    if (lit) {
      picture.FillRect(0, 4 * i, 16, 2, LitColour(i));
    } else {
      picture.FillRect(0, 4 * i + 1, 16, 1, UnlitColour(i));
    }
  }
}

void LevelMeters::Draw(Canvas& window, Canvas& picture, const EngineState& s, const MeterView& view) {
  if (view.analyser != lastAnalyser_) {
    peakLevel_.fill(0);
    lastAnalyser_ = view.analyser;
  }
  std::array<int, kBandCount> bands{};
  if (view.analyser) bands = analyser_.Levels(s, view.playing);
  const int scroll = std::clamp(view.trackScroll, 0, kTrackCount - kMeterCount);
  for (int k = 0; k < kMeterCount; ++k) {
    const int t = scroll + k;
    const Meter meter = view.analyser ? Meter{bands[k], true, true} : TrackMeter(s, t);
    UpdatePeak(k, meter.level, view.nowMs);
    DrawMeter(picture, k, meter);
    if (view.analyser) {
      picture.Text(5, 67, std::string_view(&kAnalyserLabels[k], 1), kYellow);
    } else if (s.trackPos[t].load() != nullptr && s.trackTag[t] <= 6) {
      const int tag = s.trackTag[t];
      picture.Text(5, 67, std::string_view(&kTagLabels[tag], 1), tag != 0 ? kGreen : kRed);
    }
    const Place place = MeterPlace(k);
    window.Copy(picture, place.x, place.y, place.width, place.height);
  }
}

}  // namespace tsy
