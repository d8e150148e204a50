#pragma once
// How long a render of the loaded music can run, known from the image alone
// before any pass runs: a piece that ends stops after its longest track, one
// that loops for ever is rendered twice over its length and faded out. The
// SMF export and the audio render refuse a piece that could run past a limit
// instead of writing for hours.

#include <cstdint>
#include <string>

#include "core/smf/smf_preamble.h"  // kPreambleTicks

namespace tsy {

constexpr int64_t kFadeAfterTwice = 384;  // ticks after twice the length at which a loop fades
constexpr int64_t kEndAfterTwice = 1728;  // ticks after twice the length at which a loop ends

constexpr int kDefaultTempo = 120;                        // quarter notes per minute before any tempo event
constexpr double kDefaultRenderLimitSeconds = 24 * 3600;  // a day of music

struct RenderLength {
  int64_t ticks = 0;          // the most the render can write: preamble, twice the longest track, the fade
  int tempo = kDefaultTempo;  // the tempo the music starts at, quarter notes per minute
  double seconds = 0;         // `ticks` at `tempo`

  bool Exceeds(double limitSeconds) const { return seconds > limitSeconds; }
};

// The longest track of the header at `image` (the engine's copy), in ticks.
int64_t LongestTrack(const uint8_t* image);

// The longest render of the image at `image` (the engine's copy). The tempo
// is the first tempo event of the streams, in track order, else 120.
RenderLength LongestRender(const uint8_t* image);

// `seconds` as hours, minutes and seconds: "24:00:00", "8947848:30:05".
std::string ClockText(double seconds);

}  // namespace tsy
