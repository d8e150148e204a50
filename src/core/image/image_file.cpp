#include "core/image/image_file.h"

#include "core/image/image_layout.h"
#include "platform/whole_file.h"

namespace tsy {

FileResult ReadImageFile(const std::string& path, ImageFileLimit limit, std::vector<uint8_t>& bytes) {
  const size_t largest = limit == ImageFileLimit::kBuffer ? kObjectBufferSize : kObjectBufferSize - 1;
  return ReadWholeFile(path, largest, bytes);
}

}  // namespace tsy
