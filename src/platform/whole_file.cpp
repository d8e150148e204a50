#include "platform/whole_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace tsy {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The one reading loop of both overloads: `Bytes` is a string or a byte vector.
template <typename Bytes>
FileResult ReadInto(const std::string& path, size_t largest, Bytes& bytes) {
  bytes.clear();
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return {FileStatus::kCannotOpen, errno ? errno : ENOENT};
  char block[4096];
  size_t got = 0;
  while (bytes.size() <= largest &&
         (got = std::fread(block, 1, std::min(sizeof block, largest + 1 - bytes.size()), file.get())) > 0)
    bytes.insert(bytes.end(), block, block + got);
  FileResult result;
  if (bytes.size() > largest) result = {FileStatus::kTooLarge, EFBIG};
  else if (std::ferror(file.get())) result = {FileStatus::kCannotOpen, errno ? errno : EIO};
  if (!result.ok()) bytes.clear();
  return result;
}

}  // namespace

FileResult ReadWholeFile(const std::string& path, size_t largest, std::string& bytes) {
  return ReadInto(path, largest, bytes);
}

FileResult ReadWholeFile(const std::string& path, size_t largest, std::vector<uint8_t>& bytes) {
  return ReadInto(path, largest, bytes);
}

}  // namespace tsy
