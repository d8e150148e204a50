#include "core/smf/render_length.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/engine/load_image.h"
#include "core/image/event_reader.h"
#include "core/smf/track_names.h"

namespace tsy {
namespace {

constexpr double kTickSecondsAtTempoOne = 1.25;  // a tick lasts 1250 / tempo ms

// The first tempo event of the stream at `stream`, or 0 when it has none.
int FirstTempo(const uint8_t* stream) {
  const uint8_t* tempo = FirstEventOf(stream, EventCode::kTempo);
  return tempo ? ReadU16(tempo + 1) : 0;
}

int StartingTempo(const uint8_t* image) {
  for (int k = 1; k <= kTrackCount; ++k) {
    const uint32_t offset = ImageTrackOffset(image, k);
    if (offset == 0 || offset >= kObjectBufferSize) continue;
    if (const int tempo = FirstTempo(image + offset); tempo > 0) return tempo;
  }
  return kDefaultTempo;
}

}  // namespace

int64_t LongestTrack(const uint8_t* image) {
  uint32_t longest = 0;
  for (int k = 1; k <= kTrackCount; ++k) longest = std::max(longest, ImageTrackLength(image, k));
  return longest;
}

RenderLength LongestRender(const uint8_t* image) {
  RenderLength length;
  const bool preamble = !(image[kFlagsField] & kImageFlagOwnInit);
  length.ticks = (preamble ? kPreambleTicks : 0) + 2 * LongestTrack(image) + kEndAfterTwice;
  length.tempo = StartingTempo(image);
  length.seconds = static_cast<double>(length.ticks) * kTickSecondsAtTempoOne / length.tempo;
  return length;
}

std::string ClockText(double seconds) {
  const auto whole = static_cast<long long>(std::ceil(std::max(seconds, 0.0)));
  char text[40];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
  return text;
}

}  // namespace tsy
