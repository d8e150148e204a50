#include "cli/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace tsy::cli {
namespace {

// Writes all of `bytes` to `fd`, across short writes.
bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<size_t>(n));
  }
  return true;
}

// Creates a new temporary file beside `path`; returns its descriptor or -1.
int CreateTemporary(const std::string& path, std::string& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes, std::string& reason) {
  std::string temporary;
  int fd = CreateTemporary(path, temporary);
  if (fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int fault = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    fault = errno;
  }
  if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  if (written) fault = errno;
  reason = std::strerror(fault);
  ::unlink(temporary.c_str());
  return false;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace tsy::cli
