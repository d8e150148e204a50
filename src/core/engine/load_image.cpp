#include "core/engine/load_image.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/engine/engine_call.h"

namespace tsy {
namespace {

constexpr FileResult kNotAnImage{FileStatus::kWrongContent};
constexpr size_t kCopyMargin = 404;  // the loader takes this much beyond the stated length

std::array<uint8_t, kObjectBufferSize> gCopy;  // the engine's image
size_t gReadableSize = 0;                      // bytes of gCopy that belong to the image; never read beyond

size_t CopySize(const uint8_t* buffer, size_t size) {
  const uint16_t legacy = ReadU16(buffer + kLegacyLengthField);
  const uint32_t length = ReadU32(buffer + kImageLengthField);
  size_t wanted = legacy ? legacy + kCopyMargin : length ? length + kCopyMargin : kObjectBufferSize;
  return std::min({wanted, size, kObjectBufferSize});
}

// The image ends at its length field when that lies inside the copy; the
// bytes the copy takes beyond it are never read.
size_t ReadableSize(size_t copySize) {
  const uint32_t length = ReadU32(gCopy.data() + kImageLengthField);
  return length >= kImageHeaderSize && length <= copySize ? length : copySize;
}

// No image and no tracks: nothing refers to the copy any more.
void ForgetImage() {
  EngineState& s = GetState();
  s.image = nullptr;
  s.imageData = nullptr;
  for (int t = 0; t < kTrackCount; ++t) s.trackPos[t] = s.trackStart[t] = nullptr;
  gReadableSize = 0;
}

}  // namespace

FileResult LoadImage(const uint8_t* buffer, size_t size) {
  if (!buffer || size < kImageHeaderSize) return kNotAnImage;
  ForgetImage();
  const size_t copySize = CopySize(buffer, size);
  gCopy.fill(0);
  std::memcpy(gCopy.data(), buffer, copySize);
  if (std::memcmp(gCopy.data(), kImageMagic, sizeof kImageMagic) != 0) return kNotAnImage;

  const uint8_t version = gCopy[kVersionField];
  AcceptImage(version, 1);
  if (version > kImageFormatVersion) return {};

  gReadableSize = ReadableSize(copySize);
  SetImage(gCopy.data(), gCopy.data() + kImageDataOffset);
  ResetEngine();
  for (int t = 0; t < kTrackCount; ++t) {
    const uint32_t offset = ImageTrackOffset(gCopy.data(), t + 1);
    LoadTrack(t, offset != 0 && offset < gReadableSize ? gCopy.data() + offset : nullptr);
  }
  return {};
}

const uint8_t* StreamEndInImage(const uint8_t* stream) {
  const uint8_t* begin = gCopy.data();
  const uint8_t* end = begin + gReadableSize;
  if (!stream || stream < begin || stream >= end) return stream;
  for (int k = 1; k <= kTrackCount; ++k) {
    const uint32_t offset = ImageTrackOffset(begin, k);
    if (offset == 0 || offset >= gReadableSize) continue;
    if (begin + offset > stream) end = std::min(end, begin + offset);
  }
  return end;
}

}  // namespace tsy
