#include "platform/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tsy {
namespace {

namespace fs = std::filesystem;

// A temporary file's name: the target's name (its stem), this mark, the
// writer's process id, "-" and the attempt.
constexpr std::string_view kTemporaryMark = ".tsytmp-";
constexpr int kAttempts = 100;
constexpr size_t kLongestSuffix = kTemporaryMark.size() + 10 + 1 + 2;  // mark, a 32-bit pid, "-", attempt
constexpr size_t kHashedSuffix = 9;                                    // "~" and 8 hex digits
constexpr size_t kUsualNameLimit = 255;                                // where the folder does not say

// The temporary files being written now, for the signal handler; a slot
// holds the name's characters, which stay put while the file is registered.
constexpr int kSignalSlots = 16;
std::atomic<const char*> signalSlots[kSignalSlots];

int RegisterForSignals(const char* temporary) {
  for (int i = 0; i < kSignalSlots; ++i) {
    const char* empty = nullptr;
    if (signalSlots[i].compare_exchange_strong(empty, temporary)) return i;
  }
  return -1;  // more writers at once than slots: this one is only removed by the next write
}

void UnregisterForSignals(int& slot) {
  if (slot >= 0) signalSlots[slot].store(nullptr);
  slot = -1;
}

// Only what a signal handler may do: unlink and _exit.
void RemoveTemporariesAndExit(int signal) {
  for (std::atomic<const char*>& slot : signalSlots)
    if (const char* name = slot.load()) ::unlink(name);
  ::_exit(128 + signal);
}

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

// The longest name a file in `folder` may have.
size_t NameLimit(const fs::path& folder) {
  const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<size_t>(limit) : kUsualNameLimit;
}

uint32_t NameHash(std::string_view name) {  // FNV-1a
  uint32_t hash = 2166136261u;
  for (char c : name) hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
  return hash;
}

// What the temporaries of the target `name` are called before their mark:
// the name itself, or where that leaves no room for the mark within `limit`,
// its beginning (cut between characters) and a hash of the whole name.
std::string TemporaryStem(const std::string& name, size_t limit) {
  if (name.size() + kLongestSuffix <= limit) return name;
  size_t keep = limit > kLongestSuffix + kHashedSuffix ? limit - kLongestSuffix - kHashedSuffix : 0;
  while (keep > 0 && (static_cast<uint8_t>(name[keep]) & 0xC0) == 0x80) --keep;  // inside a UTF-8 character
  char hash[kHashedSuffix + 1];
  std::snprintf(hash, sizeof hash, "~%08x", static_cast<unsigned>(NameHash(name)));
  return name.substr(0, keep) + hash;
}

// The process that wrote the temporary `entry` of the stem `stem`, or 0 when
// `entry` is no such temporary.
pid_t TemporaryWriter(std::string_view entry, std::string_view stem) {
  if (!entry.starts_with(stem)) return 0;
  entry.remove_prefix(stem.size());
  if (!entry.starts_with(kTemporaryMark)) return 0;
  entry.remove_prefix(kTemporaryMark.size());
  long long pid = 0;
  size_t at = 0;
  for (; at < entry.size() && at < 10 && entry[at] >= '0' && entry[at] <= '9'; ++at) pid = pid * 10 + (entry[at] - '0');
  if (at == 0 || at + 1 >= entry.size() || entry[at] != '-') return 0;
  for (++at; at < entry.size(); ++at)
    if (entry[at] < '0' || entry[at] > '9') return 0;
  return static_cast<pid_t>(pid);
}

// Removes the temporaries of `stem` in `folder` whose writer no longer runs
// (it was killed before it could clean up).
void RemoveStaleTemporaries(const fs::path& folder, const std::string& stem) {
  std::error_code error;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end; it.increment(error)) {
    const pid_t writer = TemporaryWriter(it->path().filename().string(), stem);
    if (writer <= 0 || !it->is_regular_file(error)) continue;
    if (::kill(writer, 0) != 0 && errno == ESRCH) fs::remove(it->path(), error);
    error.clear();
  }
}

// An existing target that this user may not write, by its permission bits
// (even root's writes respect a file that no one may write).
bool IsReadOnly(const std::string& path, const struct stat& old) {
  return (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
         ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& path) : path_(ResolvedTarget(path)) {}

ReplacingFile::~ReplacingFile() { Discard(); }

FileResult ReplacingFile::Create() {
  // A device or a pipe (/dev/null, /dev/stdout) is written where it is:
  // renaming over it would put a plain file in the device's place.
  struct stat old;
  const bool exists = ::stat(path_.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) return CannotWrite(EISDIR);  // said now, not after a whole render
  if (exists && IsReadOnly(path_, old)) return CannotWrite(EACCES);
  inPlace_ = exists && !S_ISREG(old.st_mode);
  error_ = 0;
  if (inPlace_) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    return fd_ < 0 ? CannotWrite(errno) : FileResult{};
  }
  const fs::path target(path_);
  const fs::path folder = target.parent_path();
  const std::string name = target.filename().string();
  const size_t limit = NameLimit(folder);
  if (name.size() > limit) return CannotWrite(ENAMETOOLONG);
  const std::string stem = TemporaryStem(name, limit);
  RemoveStaleTemporaries(folder, stem);
  const std::string prefix = (folder / stem).string() + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < kAttempts && fd_ < 0; ++attempt) {
    temporary_ = prefix + std::to_string(attempt);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    const int error = errno;
    temporary_.clear();
    return CannotWrite(error);
  }
  signalSlot_ = RegisterForSignals(temporary_.c_str());
  if (exists) ::fchmod(fd_, old.st_mode & 07777);
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
  UnregisterForSignals(signalSlot_);  // after the rename: a signal in between finds no file to remove
  temporary_.clear();
  return {};
}

void ReplacingFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  UnregisterForSignals(signalSlot_);
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

void RemoveTemporariesOnSignals() {
  struct sigaction action {};
  action.sa_handler = RemoveTemporariesAndExit;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, signal);  // one clean-up at a time
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace tsy
