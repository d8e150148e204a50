#pragma once
// Reading an object file (.emd): exactly one image, nothing before or after
// it, so a file larger than the object buffer holds no image.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_result.h"

namespace tsy {

// How large an object file a reader takes.
enum class ImageFileLimit : uint8_t {
  kSmallerThanBuffer,  // below 16,383 bytes: the desktop program refuses a file as large as its buffer
  kBuffer,             // up to the object buffer's 16,383 bytes (tsy)
};

// Reads the object file at `path` into `bytes` when `limit` takes its size;
// kTooLarge otherwise, without reading more than one byte beyond the limit.
// The bytes are not checked: they may be no image at all.
FileResult ReadImageFile(const std::string& path, ImageFileLimit limit, std::vector<uint8_t>& bytes);

}  // namespace tsy
