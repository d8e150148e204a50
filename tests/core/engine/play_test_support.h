#pragma once
// What the play tests share: small object images written event by event,
// and waiting for the play thread without asserting any time.

#include <chrono>
#include <cstring>
#include <initializer_list>
#include <thread>
#include <vector>

#include "core/engine/load_image.h"

namespace tsy {

using Bytes = std::vector<uint8_t>;

inline const Bytes kGmOn = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
inline const Bytes kFullMasterVolume = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x7F, 0xF7};

// A note event of `ticks` (at most 192) with attack and release, gate 7/8.
inline Bytes Note(uint8_t key, uint8_t ticks) { return {key, 0x03, 7, 0, ticks}; }
inline Bytes Rest(uint8_t ticks) { return {127, 0x03, 7, 0, ticks}; }
inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// An object image of the given track streams (track 1 first), each ended by
// the terminator; `flags` goes into the header's flag byte.
inline Bytes Image(const std::vector<Bytes>& tracks, uint8_t flags = 0) {
  Bytes image(kImageHeaderSize, 0);
  std::memcpy(image.data(), "EMD1", 4);
  image[kVersionField] = 23;
  image[kFlagsField] = flags;
  for (size_t k = 0; k < tracks.size(); ++k) {
    const uint32_t offset = static_cast<uint32_t>(image.size());
    WriteU32(&image[TrackOffsetEntry(static_cast<int>(k) + 1)], offset);
    image.insert(image.end(), tracks[k].begin(), tracks[k].end());
    image.insert(image.end(), {0xFF, 0xFF, 0xFF, 0x2E});
  }
  const uint32_t length = static_cast<uint32_t>(image.size());
  WriteU32(&image[kImageLengthField], length);
  return image;
}

// Polls `done` every millisecond for at most `limit`.
template <typename Condition>
bool WaitFor(Condition done, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace tsy
