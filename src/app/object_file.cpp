#include "app/object_file.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <span>

#include "platform/replacing_file.h"

namespace tsy {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using ReadFile = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

int ReadObjectFile(const std::string& path, uint8_t* buffer) {
  ReadFile file(std::fopen(path.c_str(), "rb"));
  if (!file) return kObjectCannotOpen;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return kObjectCannotOpen;
  long size = std::ftell(file.get());
  if (size < 0) return kObjectCannotOpen;
  if (static_cast<size_t>(size) >= kObjectBufferSize) return kObjectTooLarge;
  std::rewind(file.get());
  std::fread(buffer, 1, static_cast<size_t>(size), file.get());
  return kObjectRead;
}

uint32_t ImageLengthOf(const uint8_t* buffer) {
  if (std::memcmp(buffer, kImageMagic, sizeof kImageMagic) != 0) return 0;
  uint32_t length = ReadU32(buffer + kImageLengthField);
  if (length < kImageHeaderSize || length > kObjectBufferSize) return 0;
  return length;
}

std::string WriteObjectFile(const std::string& path, const uint8_t* image, size_t length) {
  std::string reason;
  WriteFileReplacing(path, std::span(image, length), reason);
  return reason;
}

}  // namespace tsy
