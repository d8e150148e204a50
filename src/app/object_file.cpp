#include "app/object_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <span>
#include <vector>

#include "app/file_names.h"
#include "core/image/image_file.h"
#include "platform/replacing_file.h"

namespace tsy {

FileResult ReadObjectFile(const std::string& path, uint8_t* buffer) {
  std::vector<uint8_t> bytes;
  FileResult read = ReadImageFile(path, ImageFileLimit::kSmallerThanBuffer, bytes);
  if (read.ok()) std::copy(bytes.begin(), bytes.end(), buffer);
  return read;
}

bool IsObjectFile(const std::string& path) {
  if (HasExtension(path, "emd")) return true;
  if (HasExtension(path, "mus")) return false;
  std::ifstream file(path, std::ios::binary);
  char magic[sizeof kImageMagic] = {};
  return file.read(magic, sizeof magic) && std::memcmp(magic, kImageMagic, sizeof magic) == 0;
}

uint32_t ImageLengthOf(const uint8_t* buffer) {
  if (std::memcmp(buffer, kImageMagic, sizeof kImageMagic) != 0) return 0;
  uint32_t length = ReadU32(buffer + kImageLengthField);
  if (length < kImageHeaderSize || length > kObjectBufferSize) return 0;
  return length;
}

FileResult WriteObjectFile(const std::string& path, const uint8_t* image, size_t length) {
  return WriteFileReplacing(path, std::span(image, length));
}

}  // namespace tsy
