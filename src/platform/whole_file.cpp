#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace tsy {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The one reading loop of every reader: `Bytes` is a string or a byte vector.
template <typename Bytes>
FileResult ReadOpened(std::FILE* file, size_t largest, Bytes& bytes) {
  char block[4096];
  size_t got = 0;
  while (bytes.size() <= largest &&
         (got = std::fread(block, 1, std::min(sizeof block, largest + 1 - bytes.size()), file)) > 0)
    bytes.insert(bytes.end(), block, block + got);
  FileResult result;
  if (bytes.size() > largest) result = {FileStatus::kTooLarge, EFBIG};
  else if (std::ferror(file)) result = {FileStatus::kCannotOpen, errno ? errno : EIO};
  if (!result.ok()) bytes.clear();
  return result;
}

template <typename Bytes>
FileResult ReadInto(const std::string& path, size_t largest, Bytes& bytes) {
  bytes.clear();
  errno = 0;
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return {FileStatus::kCannotOpen, errno ? errno : ENOENT};
  return ReadOpened(file.get(), largest, bytes);
}

}  // namespace

FileResult ReadWholeFile(const std::string& path, size_t largest, std::string& bytes) {
  return ReadInto(path, largest, bytes);
}

FileResult ReadWholeFile(const std::string& path, size_t largest, std::vector<uint8_t>& bytes) {
  return ReadInto(path, largest, bytes);
}

FileResult ReadRegularFile(const std::string& path, size_t largest, std::string& bytes) {
  bytes.clear();
  // Opening a pipe without O_NONBLOCK would wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return FileFailure(FileStatus::kCannotOpen);
  struct stat info;
  FileResult refused;
  if (::fstat(fd, &info) != 0) refused = FileFailure(FileStatus::kCannotOpen);
  else if (S_ISDIR(info.st_mode)) refused = {FileStatus::kCannotOpen, EISDIR};
  else if (!S_ISREG(info.st_mode)) refused = {FileStatus::kNotRegular};
  else if (static_cast<uint64_t>(info.st_size) > largest) refused = {FileStatus::kTooLarge, EFBIG};
  File file(refused.ok() ? ::fdopen(fd, "rb") : nullptr);
  if (!file) {
    if (refused.ok()) refused = FileFailure(FileStatus::kCannotOpen);
    ::close(fd);
    return refused;
  }
  return ReadOpened(file.get(), largest, bytes);
}

}  // namespace tsy
