#include "platform/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace tsy {
namespace {

namespace fs = std::filesystem;

// Writes all of `bytes` at `offset` (or appends when `offset` is negative),
// across short writes. Returns 0 or the errno of the failure.
int WriteAll(int fd, std::span<const uint8_t> bytes, off_t offset) {
  while (!bytes.empty()) {
    ssize_t n = offset < 0 ? ::write(fd, bytes.data(), bytes.size()) : ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    bytes = bytes.subspan(static_cast<size_t>(n));
    if (offset >= 0) offset += n;
  }
  return 0;
}

// The file a write to `path` should replace: the one a link names.
std::string ResolvedTarget(const std::string& path) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
  fs::path target = fs::canonical(path, error);
  return error ? path : target.string();
}

FileResult CannotWrite(int error) { return {FileStatus::kCannotWrite, error}; }

}  // namespace

ReplacingFile::ReplacingFile(const std::string& path) : path_(ResolvedTarget(path)) {}

ReplacingFile::~ReplacingFile() { Discard(); }

FileResult ReplacingFile::Create() {
  // A device or a pipe (/dev/null, /dev/stdout) is written where it is:
  // renaming over it would put a plain file in the device's place.
  struct stat old;
  const bool exists = ::stat(path_.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) return CannotWrite(EISDIR);  // said now, not after a whole render
  inPlace_ = exists && !S_ISREG(old.st_mode);
  if (inPlace_) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    error_ = 0;
    return fd_ < 0 ? CannotWrite(errno) : FileResult{};
  }
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = path_ + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) return CannotWrite(errno);
  if (exists) ::fchmod(fd_, old.st_mode & 07777);
  error_ = 0;
  return {};
}

void ReplacingFile::Write(std::span<const uint8_t> bytes) {
  if (fd_ >= 0 && error_ == 0) error_ = WriteAll(fd_, bytes, -1);
}

void ReplacingFile::Write(std::string_view text) {
  Write(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

void ReplacingFile::WriteAt(size_t offset, std::span<const uint8_t> bytes) {
  if (fd_ >= 0 && error_ == 0) error_ = WriteAll(fd_, bytes, static_cast<off_t>(offset));
}

FileResult ReplacingFile::Commit() {
  if (fd_ < 0) return CannotWrite(EBADF);
  if (error_ == 0 && !inPlace_ && ::fsync(fd_) != 0) error_ = errno;  // pipes and devices cannot sync
  if (::close(fd_) != 0 && error_ == 0) error_ = errno;
  fd_ = -1;
  if (error_ == 0 && !inPlace_ && std::rename(temporary_.c_str(), path_.c_str()) != 0) error_ = errno;
  if (error_ != 0) {
    Discard();
    return CannotWrite(error_);
  }
  temporary_.clear();
  return {};
}

void ReplacingFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

FileResult WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes) {
  ReplacingFile file(path);
  if (FileResult created = file.Create(); !created.ok()) return created;
  file.Write(bytes);
  return file.Commit();
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error) && !error;
}

}  // namespace tsy
