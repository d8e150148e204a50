#pragma once
// Reading the header of an image that comes from outside (an .emd file given
// to tsy), checked before anyone follows its offsets.

#include <cstdint>
#include <span>

#include "core/image/image_layout.h"

namespace tsy {

// The header of an image, as read from its bytes.
struct ImageHeader {
  uint32_t trackOffset[kTrackCount] = {};  // index track − 1; 0 = no stream
  uint32_t trackTicks[kTrackCount] = {};   // index track − 1
  uint16_t legacyLength = 0;
  uint8_t flags = 0;
  uint8_t version = 0;
  uint32_t imageLength = 0;
};

enum class ImageFault {
  kNone,
  kTooShort,      // fewer bytes than a header
  kBadMagic,      // the first four bytes are not "EMD1"
  kTrackOutside,  // a track offset points into the header or past the bytes given
};

// Reads the header of `bytes` and checks that every track offset lies
// within them, behind the header. On kTrackOutside, `badTrack` names the
// first such track (1..48).
ImageFault ReadImageHeader(std::span<const uint8_t> bytes, ImageHeader& header, int& badTrack);

}  // namespace tsy
