#include "core/image/image_header.h"

#include <cstring>

namespace tsy {

ImageFault ReadImageHeader(std::span<const uint8_t> bytes, ImageHeader& header, int& badTrack) {
  if (bytes.size() < kImageHeaderSize) return ImageFault::kTooShort;
  if (std::memcmp(bytes.data(), kImageMagic, sizeof kImageMagic) != 0) return ImageFault::kBadMagic;
  for (int track = 1; track <= kTrackCount; ++track) {
    header.trackOffset[track - 1] = ImageTrackOffset(bytes.data(), track);
    header.trackTicks[track - 1] = ImageTrackLength(bytes.data(), track);
  }
  header.legacyLength = ReadU16(&bytes[kLegacyLengthField]);
  header.flags = bytes[kFlagsField];
  header.version = bytes[kVersionField];
  header.imageLength = ReadU32(&bytes[kImageLengthField]);
  for (int track = 1; track <= kTrackCount; ++track) {
    uint32_t offset = header.trackOffset[track - 1];
    if (offset != 0 && (offset < kImageHeaderSize || offset >= bytes.size())) {
      badTrack = track;
      return ImageFault::kTrackOutside;
    }
  }
  return ImageFault::kNone;
}

}  // namespace tsy
