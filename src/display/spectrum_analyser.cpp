#include "display/spectrum_analyser.h"

#include <algorithm>
#include <functional>

namespace tsy {
namespace {

constexpr int kFallMs = 50;  // a band falls one segment per 50 ms of play clock

// Weight in tenths of the note part at band b, f tenths above, for the meter
// whose centre band is `centre`: full at the centre, fading over two bands on
// either side.
int BandWeight(int b, int f, int centre) {
  switch (b - centre) {
    case 2: return std::max(0, 5 - f);
    case 1: return std::max(0, 8 - f);
    case 0: return 10 - (f >= 5 ? f - 5 : 6 - f);
    case -1: return std::max(0, f - 2);
    case -2: return std::max(0, f - 5);
    default: return 0;
  }
}

}  // namespace

const std::array<uint8_t, 128>& DrumPitch() {
  static const std::array<uint8_t, 128> table = [] {
    constexpr uint8_t kFrom25[] = {
        50, 59, 70, 62, 64, 66, 62, 22,  // 25-32
        33, 90, 18, 19, 33, 65, 70, 63,  // 33-40
        42, 98, 50, 98, 58, 98, 66, 74,  // 41-48
        88, 82, 86, 76, 81, 92, 83, 74,  // 49-56
        83, 50, 94, 56, 50, 55, 43, 37,  // 57-64
        54, 48, 75, 72, 98, 96, 78, 72,  // 65-72
        68, 68, 80, 50, 48, 62, 52, 96,  // 73-80
        96, 99, 83, 86, 75, 60, 22,      // 81-87
    };
    std::array<uint8_t, 128> t{};
    std::copy(std::begin(kFrom25), std::end(kFrom25), t.begin() + 25);
    return t;
  }();
  return table;
}

void SpectrumAnalyser::CollectNotes(const EngineState& s) {
  notes_.clear();
  for (int t = 0; t < kTrackCount; ++t) {
    if (s.trackPos[t].load() == nullptr) continue;
    const int c = s.trackChannel[t] & 15;
    const int volume = s.volume[c];
    if (volume == kUnsetSetting) continue;
    const int64_t r = s.noteState[t] == kNoteIdle ? 2 : 0;  // a released note fades faster
    const int64_t decay = (int64_t{s.msSinceOn[t]} + r * s.msSinceOff[t]) / 10;
    const int64_t amplitude = (s.velocity[t] * volume / 128 - decay) / 16;
    if (amplitude <= 0) continue;
    const int size = std::min<int>(s.chordSize[t], kChordNotes);
    for (int j = 0; j < size; ++j) {
      const int n = s.eventNotes[t][j];
      if (n == kEventRest || n >= kEventWaiting) continue;
      const int p = (s.chanFlags[c] & kChanRhythmNames) ? DrumPitch()[n] : n;
      const int q = p * 10 / 6;  // tenths of a band
      notes_.push_back({static_cast<int>(amplitude), (q + 5) / 10, (q + 5) % 10});
    }
  }
}

// The strongest contribution counts 90 %, each next one two thirds of the one
// before, down to 16 %.
int SpectrumAnalyser::RawLevel(int k) {
  contributions_.clear();
  for (const NotePart& n : notes_) {
    const int c = n.amplitude * BandWeight(n.band, n.fraction, k + 3) / 6;
    if (c > 0) contributions_.push_back(c);
  }
  // Equal contributions are interchangeable, so any descending sort sums the same.
  std::sort(contributions_.begin(), contributions_.end(), std::greater<>());
  int sum = 0, weight = 90;
  for (int c : contributions_) {
    sum += c * weight / 100;
    if (weight > 16) weight = std::max(weight * 67 / 100, 16);
  }
  return std::min(sum, kMaxLevel);
}

std::array<int, kBandCount> SpectrumAnalyser::Levels(const EngineState& s, bool playing) {
  if (playing) CollectNotes(s);
  const uint32_t passMs = s.passMs;
  std::array<int, kBandCount> levels{};
  for (int k = 0; k < kBandCount; ++k) {
    const int raw = playing ? RawLevel(k) : 0;
    int64_t fallen = (passMs - bandTime_[k]) / kFallMs;  // the clock difference wraps
    if (bandLevel_[k] - fallen < raw) {
      bandLevel_[k] = raw;
      bandTime_[k] = passMs;
      fallen = 0;
    }
    levels[k] = static_cast<int>(std::clamp<int64_t>(bandLevel_[k] - fallen, 0, kMaxLevel));
  }
  return levels;
}

}  // namespace tsy
