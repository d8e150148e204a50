#pragma once
// The fuzz input as an object buffer: its bytes from the first, the rest
// zero, and the "EMD1" magic written over the first four, so that mutations
// start past the magic check instead of stopping at it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/image/image_layout.h"

namespace tsy::fuzz {

inline std::vector<uint8_t> ImageBuffer(const uint8_t* data, size_t size) {
  std::vector<uint8_t> buffer(kObjectBufferSize, 0);
  std::copy(data, data + std::min(size, buffer.size()), buffer.begin());
  std::copy(kImageMagic, kImageMagic + sizeof kImageMagic, buffer.begin());
  return buffer;
}

}  // namespace tsy::fuzz
