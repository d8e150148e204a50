#include "core/compiler/image_writer.h"

#include <cstring>

#include "core/image/event_table.h"

namespace tsy {

std::vector<uint8_t> NewImage() {
  std::vector<uint8_t> image(kImageHeaderSize, 0);
  std::memcpy(image.data(), kImageMagic, sizeof kImageMagic);
  image[kVersionField] = kImageFormatVersion;
  return image;
}

void AppendTrackStream(std::vector<uint8_t>& image, int track, std::span<const uint8_t> events, uint32_t ticks) {
  WriteU32(&image[TrackOffsetEntry(track)], static_cast<uint32_t>(image.size()));
  WriteU32(&image[TrackLengthEntry(track)], ticks);
  image.insert(image.end(), events.begin(), events.end());
  image.insert(image.end(), kTerminator.begin(), kTerminator.end());
}

void FinishImage(std::vector<uint8_t>& image, uint8_t flags) {
  WriteU16(&image[kLegacyLengthField], 0);
  image[kFlagsField] = flags;
  WriteU32(&image[kImageLengthField], static_cast<uint32_t>(image.size()));
}

}  // namespace tsy
