#include "app/object_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace tsy {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using ReadFile = std::unique_ptr<std::FILE, FileCloser>;

uint32_t ReadLe32(const uint8_t* bytes) {
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
         uint32_t(bytes[3]) << 24;
}


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
  if (std::memcmp(buffer, "EMD1", 4) != 0) return 0;
  uint32_t length = ReadLe32(buffer + kImageLengthField);
  if (length < kImageHeaderSize || length > kObjectBufferSize) return 0;
  return length;
}

std::string WriteObjectFile(const std::string& path, const uint8_t* image, size_t length) {
  std::string temporary = path + ".part";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return std::strerror(errno);
  std::string reason;
  if (std::fwrite(image, 1, length, file) != length || std::fflush(file) != 0)
    reason = std::strerror(errno);
  if (std::fclose(file) != 0 && reason.empty()) reason = std::strerror(errno);
  std::error_code error;
  if (reason.empty()) {
    std::filesystem::rename(temporary, path, error);
    if (error) reason = error.message();
  }
  if (!reason.empty()) std::filesystem::remove(temporary, error);
  return reason;
}

}  // namespace tsy
