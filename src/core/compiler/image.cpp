#include "core/compiler/image.h"

#include <cstring>

#include "core/compiler/event_codes.h"

namespace tsy {
namespace {

void WriteU16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void WriteU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

size_t OffsetEntry(int track) { return kTrackOffsetTable + 4 * static_cast<size_t>(track - 1); }
size_t LengthEntry(int track) { return kTrackLengthTable + 4 * static_cast<size_t>(track - 1); }

}  // namespace

std::vector<uint8_t> NewImage() {
  std::vector<uint8_t> image(kImageHeaderSize, 0);
  std::memcpy(image.data(), kImageMagic, sizeof kImageMagic);
  image[kVersionField] = kImageFormatVersion;
  return image;
}

void AppendTrackStream(std::vector<uint8_t>& image, int track, std::span<const uint8_t> events, uint32_t ticks) {
  WriteU32(&image[OffsetEntry(track)], static_cast<uint32_t>(image.size()));
  WriteU32(&image[LengthEntry(track)], ticks);
  image.insert(image.end(), events.begin(), events.end());
  image.insert(image.end(), kTerminator.begin(), kTerminator.end());
}

void FinishImage(std::vector<uint8_t>& image, uint8_t flags) {
  WriteU16(&image[kLegacyLengthField], 0);
  image[kFlagsField] = flags;
  WriteU32(&image[kImageLengthField], static_cast<uint32_t>(image.size()));
}

ImageFault ReadImageHeader(std::span<const uint8_t> bytes, ImageHeader& header, int& badTrack) {
  if (bytes.size() < kImageHeaderSize) return ImageFault::kTooShort;
  if (std::memcmp(bytes.data(), kImageMagic, sizeof kImageMagic) != 0) return ImageFault::kBadMagic;
  for (int track = 1; track <= kTrackCount; ++track) {
    header.trackOffset[track - 1] = ReadU32(&bytes[OffsetEntry(track)]);
    header.trackTicks[track - 1] = ReadU32(&bytes[LengthEntry(track)]);
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
