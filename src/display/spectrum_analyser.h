#pragma once
// The pseudo spectrum analyser: every sounding note of every track is spread
// over 16 bands by its pitch (rhythm channels by a pseudo pitch per drum) with
// an amplitude that decays with the note's age; each band shows the sum of
// its strongest contributions and falls back slowly.

#include <array>
#include <cstdint>
#include <vector>

#include "core/engine/engine_state.h"

namespace tsy {

constexpr int kBandCount = 16;
constexpr int kMaxLevel = 15;  // meter segments

// Pseudo pitch of rhythm-channel note n for the analyser (0: no pitch).
const std::array<uint8_t, 128>& DrumPitch();

class SpectrumAnalyser {
 public:
  // The band levels 0..15 to show now. `playing` is false while the engine
  // is not Playing: the raw levels are then 0 and the bands fall by passMs.
  std::array<int, kBandCount> Levels(const EngineState& s, bool playing);

 private:
  // One note's part: amplitude A, band b and tenths f above it.
  struct NotePart {
    int amplitude, band, fraction;
  };

  void CollectNotes(const EngineState& s);
  int RawLevel(int k);

  std::vector<NotePart> notes_;     // the notes that can contribute, at most 48 x 12
  std::vector<int> contributions_;  // scratch for one band
  std::array<int, kBandCount> bandLevel_{};
  std::array<uint32_t, kBandCount> bandTime_{};  // passMs when the band was last raised
};

}  // namespace tsy
