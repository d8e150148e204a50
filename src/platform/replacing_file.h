#pragma once
// A file that is written whole or not at all: the bytes go to a temporary
// file beside the target, which is renamed over the target once every byte
// is on disk. A failure leaves the target as it was and no temporary file.
// Every file the programs write (images, MIDI files, WAV files, settings)
// goes through here.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_result.h"

namespace tsy {

class ReplacingFile {
 public:
  explicit ReplacingFile(const std::string& path);
  ~ReplacingFile();  // removes the temporary file unless committed
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file beside the target. An existing target's
  // permissions are kept; a target that is a link keeps
  // the link and has the file it names replaced. A target that is a device
  // or a pipe is opened and written directly instead. kCannotWrite, with the
  // system's reason, when the file cannot be created.
  FileResult Create();
  // Appends `bytes`; a failure is remembered and reported by Commit.
  void Write(std::span<const uint8_t> bytes);
  void Write(std::string_view text);
  // Overwrites bytes written earlier, at `offset` from the start (a header
  // completed once the length is known).
  void WriteAt(size_t offset, std::span<const uint8_t> bytes);
  // Puts the file in the target's place. kCannotWrite, with the reason, when
  // any write or this step failed; the target is then untouched.
  FileResult Commit();

 private:
  void Discard();

  std::string path_;  // the target, links resolved
  std::string temporary_;
  int fd_ = -1;
  int error_ = 0;         // the first write's errno, 0 while all went well
  bool inPlace_ = false;  // the target is a device or a pipe, written directly
};

// Writes `bytes` to `path` through a ReplacingFile. kCannotWrite, with the
// reason, when it failed; the old file is then untouched.
FileResult WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes);

// True when `a` and `b` name the same existing file: writing one would destroy the other.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace tsy
